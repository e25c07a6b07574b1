#include "search/HitScanner.h"
