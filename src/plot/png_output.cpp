// STUB
#include "show_page.h"
namespace orvex { bool WRITE_PAGE_PNG(std::string_view, std::string_view*) { return false; } }
