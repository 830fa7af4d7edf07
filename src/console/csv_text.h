// csv_text.h: the one form of every CSV file the program writes.
//
// WHAT IT IS
//   A CSV text is built in a std::string in this order:
//     1. the header row: bare column names, e.g. `line,component,node,x,y,z,position,value`;
//     2. `#` lines of provenance (the map, the field, the units, what was cut), one fact each;
//     3. one row per record, every field a number or a bare token.
//   Reals are written with 17 significant digits, as printf's "%.17g" writes them (1e+300,
//   -0, 0.10000000000000001), so that strtod, std::from_chars, numpy and pandas read back the
//   same doubles; NaN is "nan", infinities "inf" and "-inf". Tokens are bare words (Ex, Bz):
//   no quotes, no blanks, no commas. So numpy.genfromtxt(f, delimiter=',', names=True,
//   dtype=None, encoding=None), which takes its names from the first line, and
//   pandas.read_csv(f, comment='#') both load the text as it stands. Lines end in "\n"; the
//   text is the same in every locale.
//
// HOW TO CALL IT
//   std::string out;
//   CSV_HEADER(out, {"line", "component", "node", "value"});
//   CSV_NOTE(out, "map: RFQ_cell.bin");                          // "# map: RFQ_cell.bin"
//   CSV_ROW(out, {L_INT(3), L_TEXT("Ez"), L_INT(1), L_REAL(-43712.345678901234)});
//
// ASSUMES AND LIMITS
//   A note is one line: its control characters (a line end in a file name) are written as
//   \xNN (VISIBLE_TEXT). A token's characters other than letters, digits and "_.+-" are
//   written as '_', so a row always has as many fields as the header names, and no field
//   starts a comment. Names of the header are tokens too.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "console/console.h"

namespace orvex {

// The header row: the names, comma-separated, then "\n". Comes first in the text.
void CSV_HEADER(std::string& out, std::initializer_list<std::string_view> names);

// "# " + text + "\n", the text kept on one line.
void CSV_NOTE(std::string& out, std::string_view text);

// One row: integers as they are, reals with 17 significant digits, texts as bare tokens.
void CSV_ROW(std::string& out, std::initializer_list<listed_value> fields);

// The parts of a row, for callers that build rows by hand.
void CSV_REAL(std::string& out, double v);
void CSV_TOKEN(std::string& out, std::string_view token);

}  // namespace orvex
