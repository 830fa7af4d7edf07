// STUB
#include "unfold.h"
namespace orvex { void UNFOLD_GRID() {} }
