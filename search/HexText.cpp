#include "search/HexText.h"
