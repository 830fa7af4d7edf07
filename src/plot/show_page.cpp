// STUB
#include "show_page.h"
namespace orvex { int SHOW_PAGE() { return 0; } }
