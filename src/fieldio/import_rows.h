// import_rows.h: the rows of a table read as numbers, and the lattice their coordinates form;
// shared by the importer's files (import_table.cpp, import_mirror.cpp), not for its callers.
//
// WHAT IT IS
//   READ_ROWS reads every row after the header: the used columns as numbers, each row's line.
//   AXIS_LATTICE finds one axis's lattice: its distinct coordinates (those within a ten-millionth
//   of the extent are one), the step (the gap met most often) and each distinct coordinate's
//   node; a coordinate more than a thousandth of a step off its node is refused with its line.
//   NODE_OF gives the node of a coordinate of the table.
//
// HOW TO CALL IT
//   const table_rows rows = READ_ROWS(text, head, plan);
//   const axis_lattice ax = AXIS_LATTICE(rows, 0, *plan.unit[0]);
//
// ASSUMES AND LIMITS
//   Coordinates are in the table's units, field values are converted to cm, V/cm and Gs as they
//   are read (a finite value the conversion makes infinite is refused). At most table_row_limit
//   rows and 100,000 nodes per axis.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "fieldio/import_columns.h"
#include "fieldio/import_header.h"

namespace orvex::mapimport {

inline constexpr std::array<const char*, 3> axis_names{"x", "y", "z"};

// The used columns of every row, and the line each row came from.
struct table_rows {
    std::array<std::vector<double>, 9> column;  // by role; empty for roles not used
    std::vector<long long> line;
};

table_rows READ_ROWS(std::string_view text, const table_head& head, const column_plan& plan);

// One axis of the lattice: evenly spaced nodes lo + m * step, m = 0 .. count - 1, and the
// table's own coordinate of each (NaN for a node no row has).
struct axis_lattice {
    double lo = 0.0, step = 0.0;
    int count = 1;
    std::vector<double> distinct;  // sorted, one per coordinate
    std::vector<int> node;         // the lattice node of each distinct coordinate
    std::vector<double> own;       // per node
};

axis_lattice AXIS_LATTICE(const table_rows& rows, int axis, const unit_info& unit);
int NODE_OF(const axis_lattice& a, double c);

// "its x run from -2 to 2 mm in steps of 0.5"
std::string AXIS_TEXT(const axis_lattice& a, int axis, const unit_info& unit);

// A number as the importer's messages write it (shortest form that reads back).
std::string NUMBER(double v);

}  // namespace orvex::mapimport
