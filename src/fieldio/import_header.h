// import_header.h: what a field solver's column table says about itself before its rows: the
// names of its columns, their units, node counts and, in a map's own CSV, the map it came from.
//
// WHAT IT IS
//   READ_TABLE_HEAD finds where the rows of numbers begin and reads the lines before them:
//     - a line of names with units in brackets or parentheses ("x [mm]  y [mm]  Ex [V/m]"),
//       optionally followed by a line of dashes; a first line of bare names ("x,y,z,Ex,Ey,Ez");
//     - lines starting with '%': the last of them names the columns ("% x y z es.Ex (V/m)"),
//       and "% Length unit: mm" gives the unit of coordinates that name none;
//     - a count line "nx ny nz 2", then numbered column lines ("1 X [CM]") and a line "0";
//     - lines starting with '#': notes; "# units: cm,V/cm,Gs" gives units as --units does, and
//       the lines a map's CSV export carries give the map's provenance (READ_PROVENANCE_NOTE):
//         # map header: d_elm <real> aper <real> n_cell <integer>
//         # stored x: <25 reals>      (and "# stored y:" with 25, "# stored z:" with 201)
//         # mirror flags: <0|1> <0|1> <0|1>
//   NAME_COLUMN recognises x, y, z and the components (Ex..Ez; Bx..Bz or Hx..Hz as the magnetic
//   field), with a solver's prefix ("es.Ex") and a real or imaginary part ("ExRe", "Ex_im",
//   "re_Ex", "im_Ex", "real(emw.Ex)", "imag(Ex)"). FIND_UNIT knows m, mm, cm; V/m, V/cm, kV/m, MV/m; T, mT, Gs
//   (G, Gauss), kGs (kG); A/m (H, taken as B = mu0 H), in any letter case.
//
// HOW TO CALL IT
//   const table_head head = READ_TABLE_HEAD(text);   // a refusal is a run_stop (import_source.h)
//   for (table_column& c : head.columns) NAME_COLUMN(c);
//
// ASSUMES AND LIMITS
//   Separators are blanks, tabs and commas; lines end in LF or CR LF. A table without a header
//   has no columns here (the caller names them). Every refusal is one line, what it quotes from
//   the table shown safely (SHOWN_TEXT). A provenance line that does not read as its form is
//   kept as a problem, refused only when its values would be used.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fieldio/import_source.h"

namespace orvex::mapimport {

// The header record of an array-layout map.
struct map_header {
    double d_elm = 0.0, aper = 0.0;
    std::int32_t n_cell = 0;
};

// What a map's CSV export says of the map it came from; each part absent when its line is.
struct table_provenance {
    std::optional<map_header> header;
    std::string header_problem;                      // why the "# map header:" line was not taken
    std::array<std::vector<double>, 3> stored;       // "# stored x:", y, z; empty when absent or unreadable
    std::optional<std::array<int, 3>> mirror_flags;
    std::string flags_problem;                       // why the "# mirror flags:" line was not taken
};

enum class quantity { length, electric, magnetic };

// A unit and how its numbers become cm, V/cm or Gs: times multiply, then divided by divide
// (a division by 10 or 100 is exact where a product with 0.1 is not).
struct unit_info {
    std::string_view name;
    quantity of;
    double multiply;
    double divide;
};
const unit_info* FIND_UNIT(std::string_view text);  // nullptr when unknown
double TO_MAP_UNITS(const unit_info& unit, double v);
std::string_view QUANTITY_NAME(quantity q);  // "length", "electric field", "magnetic field"

// Roles of columns: the coordinates, then Ex..Ez, Bx..Bz.
inline constexpr int role_x = 0, role_ex = 3, role_bx = 6, role_ignored = -1;
enum class column_part { whole, real, imaginary };

struct table_column {
    std::string name;  // as the header or --columns gives it
    std::string unit;  // as given; "" when none
    int role = role_ignored;
    column_part part = column_part::whole;
};

struct table_head {
    std::vector<table_column> columns;   // empty when the file names none
    std::size_t data_offset = 0;         // where the first row of numbers begins
    long long data_line = 1;             // its line number, 1-based
    std::array<long long, 3> counts{};   // from a count line; 0 when absent
    std::string units_note;              // "cm,V/cm,Gs" or a length unit from the notes
    table_provenance provenance;
};

table_head READ_TABLE_HEAD(std::string_view text);
void NAME_COLUMN(table_column& column);

// Takes a '#' note (its text after '#', trimmed) that is one of the provenance lines into p;
// false when the note is none of them. line is its line number, for what a problem says.
bool READ_PROVENANCE_NOTE(std::string_view note, long long line, table_provenance& p);

// Splits a row into its fields at blanks, tabs and commas (a run of them is one separator).
void SPLIT_FIELDS(std::string_view line, std::vector<std::string_view>& fields);
// A number as a solver writes it (also with a Fortran D exponent); false when it is none, v
// then infinite when the text is a number beyond the range of a double (one below it is a
// signed zero).
bool READ_NUMBER(std::string_view text, double& v);

}  // namespace orvex::mapimport
