// STUB
#include "histo.h"
