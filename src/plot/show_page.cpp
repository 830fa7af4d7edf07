// STUB
#include "show_page.h"
namespace orvex { int SHOW_PAGE(std::string_view) { return 0; } }
