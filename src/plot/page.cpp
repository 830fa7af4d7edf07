// STUB
#include "page.h"
namespace orvex {
std::array<packed_colour, colour_count> colour_table{};
std::array<panel_record, panel_count> panel_table{};
void LAYOUT_PAGE() {}
void INI_GRAPH() {}
void GRAPH(int, packed_colour) {}
void D_AND_T(std::array<char, 25>&) {}
void D_AND_T_AT(const std::tm&, std::array<char, 25>&) {}
}  // namespace orvex
