// STUB
#include "plot_driver.h"
namespace orvex { void PLOT_PROFILES() {} }
