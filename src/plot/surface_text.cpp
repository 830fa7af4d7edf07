// STUB
#include "surface.h"
namespace orvex {
int LOAD_FONTS() { return 0; }
int SELECT_FONT(std::string_view) { return -1; }
void DRAW_TEXT(std::string_view, int) {}
}  // namespace orvex
