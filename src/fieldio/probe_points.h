// probe_points.h: the points a probe reads the map at, from the POINTS of the command line.
//
// WHAT IT IS
//   POINTS is one of three forms (coordinates in cm):
//     line:X0,Y0,Z0:X1,Y1,Z1:N   N >= 2 points evenly spaced from the first point to the last,
//                                both included (SEGMENT_POINTS, field/probe.h);
//     circle:R,Z:N               N >= 1 points on the circle of radius R about the z axis at
//                                height Z, the first on +x, counter-clockwise (CIRCLE_POINTS);
//     FILE                       any other argument names a CSV table (points_file.cpp): its
//                                header row names the columns x, y and z (once each, in any
//                                order, among others); lines whose first character that is
//                                not a blank is '#', and blank lines, are skipped; one point
//                                per row, as many cells as the header names. The other
//                                columns are carried through: their names as tokens
//                                (console/csv_text.h), their cells as they stand but for what
//                                would break a plain CSV (control characters as \xNN, '#' as
//                                '_'). A cell wrapped in double quotes with none inside is
//                                taken without them; any other double quote is refused.
//                                A file whose name begins "line:" or "circle:" is named
//                                "./line:...".
//   Numbers are read with std::from_chars (a leading '+' allowed, blanks around them dropped);
//   a file's x, y, z may be nan or inf (such a point has no value), the forms' numbers must be
//   finite. At most max_probe_points points.
//   The answer is a status: 0 the points are made; 2 a bad POINTS (a form that does not parse,
//   a number that does not read, N too small or too large, a file that is empty, holds no
//   points, lacks a column or names one twice, a row with another number of cells, a quoted
//   cell); 1 a file that cannot be read as text (missing, not a regular file, unreadable, a NUL
//   byte, binary, UTF-16 or UTF-32, a line longer than 16 MB). `why` is then the one line,
//   without the program's name: `points.csv:7: y is not a number: "0.5cm"`.
//
// HOW TO CALL IT
//   probe_points p;  std::string why;
//   const int status = MAKE_PROBE_POINTS(argument, p, why);
//   for (std::size_t k = 0; k < p.at.size(); ++k) use p.at[k], CARRIED_CELLS(p, k);
//
// ASSUMES AND LIMITS
//   A file is read whole into the record (its carried cells copied); nothing is written.
//   Hostile files cost bounded time per line (no scan goes further than 16 MB) and never hang
//   (a FIFO is refused, see input_file.h).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "field/probe.h"

namespace orvex {

inline constexpr std::size_t max_probe_points = 10'000'000;

struct probe_points {
    std::string source;                      // POINTS as given
    bool from_file = false;
    std::vector<point3> at;                  // cm
    std::vector<std::string> carried_names;  // a file's other columns, as tokens, in order
    std::string carried_text;                // every row's carried cells, each preceded by ','
    std::vector<std::size_t> carried_from;   // row k's cells: [carried_from[k], carried_from[k + 1])
};

int MAKE_PROBE_POINTS(std::string_view argument, probe_points& out, std::string& why);

// Row k's carried cells, each preceded by a comma ("" for the forms and for a file of x, y, z
// alone).
std::string_view CARRIED_CELLS(const probe_points& p, std::size_t k);

// Reads a points file into out (the FILE form); the status and why as MAKE_PROBE_POINTS.
int READ_POINTS_FILE(std::string_view path, probe_points& out, std::string& why);

// A coordinate or count of the forms and files: the whole text (blanks around it dropped, a
// leading '+' allowed) as a double; false when it does not read.
bool READ_PROBE_NUMBER(std::string_view text, double& v);

}  // namespace orvex
