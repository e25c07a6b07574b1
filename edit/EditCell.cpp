#include "edit/EditCell.h"
