// STUB
#include "vplot.h"
namespace orvex {
void VPLOT1X(std::int32_t, std::int32_t, const double*, const double*, std::string_view, std::string_view, packed_colour) {}
std::array<char, 8> FORMAT_POSITION(double) { return {}; }
std::array<char, 9> FORMAT_VALUE(double) { return {}; }
}  // namespace orvex
