// profiles_csv.h: the plotted profiles as CSV text, for spreadsheets, numpy and pandas.
//
// WHAT IT IS
//   PROFILES_CSV gives the profiles of the chosen panels of a plotted page as text: '#' comment
//   lines naming the program, the map file and the field with its units, the header row, then
//   one row per node:
//
//     # plot_orvex_3dfields profiles
//     # map file: MW_map.bin
//     # field: electric (Ex, Ey, Ez in V/cm); positions in cm
//     line,axis,component,node,position,value
//     3,"Z (cm), X=Y=0",Ez,1,-50,-43712.345678901234
//
//   line 1..10; the line's axis title, always quoted (a '"' in it doubled); the component name;
//   the node's index along the line, from 1; the position in cm and the value in V/cm or Gs,
//   each with 17 significant digits, so that strtod, std::from_chars or Python's float read
//   them back as the same doubles. NaN is written "nan", infinities "inf" and "-inf". Lines end
//   in "\n"; the text is the same in every locale.
//
// HOW TO CALL IT
//   const std::array<int, 2> panels = {7, 9};            // panel numbers 1..30, in row order
//   std::string text = PROFILES_CSV(PLOTTED_PAGE(), panels);
//   std::string why;
//   if (!WRITE_PROFILES_CSV("profiles.csv", PLOTTED_PAGE(), panels, &why)) report why;
//
// ASSUMES AND LIMITS
//   The page was filled by PLOT_PROFILES (or holds points that stay valid during the call).
//   Rows follow the panel numbers in the order given: the page's own order (line by line, the
//   x, y and z components of each) for all thirty. Numbers outside 1..30 are passed over; a
//   panel without points gives no rows. Control characters in the map file's name are shown as
//   \xNN so the comment stays one line. The file is written as file_output.h writes files:
//   whole or not at all.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "page/plotted_page.h"

namespace orvex {

std::string PROFILES_CSV(const plotted_page& page, std::span<const int> panels);

// Writes PROFILES_CSV(page, panels) to path; false, with the reason in why, when it cannot.
bool WRITE_PROFILES_CSV(std::string_view path, const plotted_page& page, std::span<const int> panels,
                        std::string* why = nullptr);

}  // namespace orvex
