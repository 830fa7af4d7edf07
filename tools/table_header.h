// table_header.h: what a field solver's column table says about itself before its rows: the
// names of its columns, their units, and node counts, in the header styles solvers write.
//
// WHAT IT IS
//   READ_TABLE_HEAD finds where the rows of numbers begin and reads the lines before them:
//     - a line of names with units in brackets or parentheses ("x [mm]  y [mm]  Ex [V/m]"),
//       optionally followed by a line of dashes; a first line of bare names ("x,y,z,Ex,Ey,Ez");
//     - lines starting with '%': the last of them names the columns ("% x y z es.Ex (V/m)"),
//       and "% Length unit: mm" gives the unit of coordinates that name none;
//     - a count line "nx ny nz 2", then numbered column lines ("1 X [CM]") and a line "0";
//     - lines starting with '#': notes; "# units: cm,V/cm,Gs" gives units as --units does.
//   NAME_COLUMN recognises x, y, z and the components (Ex..Ez; Bx..Bz or Hx..Hz as the magnetic
//   field), with a solver's prefix ("es.Ex") and a real or imaginary part ("ExRe", "Ex_im",
//   "real(emw.Ex)", "imag(Ex)"). FIND_UNIT knows m, mm, cm; V/m, V/cm, kV/m, MV/m; T, mT, Gs
//   (G, Gauss), kGs (kG); A/m (H, taken as B = mu0 H), in any letter case.
//
// HOW TO CALL IT
//   const table_head head = READ_TABLE_HEAD(text);   // may throw import_refusal
//   for (table_column& c : head.columns) NAME_COLUMN(c);
//
// ASSUMES AND LIMITS
//   Separators are blanks, tabs and commas; lines end in LF or CR LF. A table without a header
//   has no columns here (the caller names them). Every refusal is one line (import_refusal).
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace orvex::mapimport {

// A table that cannot be imported: the one line that says why.
struct import_refusal {
    std::string text;
};
[[noreturn]] void REFUSE(std::string text);

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
};

table_head READ_TABLE_HEAD(std::string_view text);
void NAME_COLUMN(table_column& column);

// Splits a row into its fields at blanks, tabs and commas (a run of them is one separator).
void SPLIT_FIELDS(std::string_view line, std::vector<std::string_view>& fields);
// A number as a solver writes it (also with a Fortran D exponent); false when it is none.
bool READ_NUMBER(std::string_view text, double& v);

}  // namespace orvex::mapimport
