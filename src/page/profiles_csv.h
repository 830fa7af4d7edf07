// profiles_csv.h: the plotted profiles as CSV text, for spreadsheets, numpy and pandas.
//
// WHAT IT IS
//   PROFILES_CSV gives the profiles of the chosen panels of a plotted page as text in the one
//   CSV form of the program (console/csv_text.h): the header row, '#' lines naming the map
//   file, the field, the units and the title of each line given, then one row per node:
//
//     line,component,node,x,y,z,position,value
//     # plot_orvex_3dfields profiles
//     # map: MW_map.bin
//     # field: electric (Ex, Ey, Ez)
//     # units: x, y, z and position in cm; value in V/cm
//     # line 3: Z (cm), X=Y=0
//     3,Ez,1,0,0,-50,-50,-43712.345678901234
//
//   A profile along a segment between any two points (the detail window's, line 0) has the
//   position column named s: its distance in cm from the segment's first point, the node being
//   the sample's index and x, y, z its point.
//
//   line 1..10; the component name (Ex ... Bz); the node's index along the line, from 1; the
//   node's coordinates x, y, z in cm (the line's fixed coordinates and its position); the
//   position along the line in cm and the value in V/cm or Gs, each real with 17 significant
//   digits, so that strtod, std::from_chars or Python's float read them back as the same
//   doubles. NaN is written "nan", infinities "inf" and "-inf". numpy.genfromtxt(f,
//   delimiter=',', names=True, dtype=None, encoding=None) and pandas.read_csv(f, comment='#')
//   load it as it stands.
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
//   panel without points gives no rows (its line's title is still noted). Control characters in
//   the map file's name are shown as \xNN so the note stays one line. The file is written as
//   file_output.h writes files: whole or not at all.
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
