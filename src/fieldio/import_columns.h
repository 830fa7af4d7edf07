// import_columns.h: which column of a table is x, y, z and each component, and in what unit.
//
// WHAT IT IS
//   RESOLVE_COLUMNS names the columns (the header's names, or --columns), picks the real or the
//   imaginary part of a complex table, and finds each used column's unit: from the header
//   (brackets, parentheses, a "% Length unit:" or "# units:" note), else from --units. It
//   refuses, in one line, a table without x, y or z, a field with only some of its
//   components, a column named twice, a complex table without --part (or --part for a real
//   one), a unit it does not know or of the wrong kind, a header unit that --units contradicts,
//   and a used column whose unit it cannot learn ("no unit for column 4 (Ex): give --units").
//
// HOW TO CALL IT
//   const column_plan plan = RESOLVE_COLUMNS(request, head);
//   plan.index[role] is the column (0-based) of x, y, z, Ex .. Bz, or -1.
//
// ASSUMES AND LIMITS
//   Columns named neither a coordinate nor a component (|E|, a potential) are read past.
#pragma once

#include <array>

#include "fieldio/import_header.h"
#include "fieldio/import_table.h"

namespace orvex::mapimport {

struct column_plan {
    std::size_t width = 0;                    // fields per row
    std::array<int, 9> index{};               // x y z Ex Ey Ez Bx By Bz: the column, or -1
    std::array<const unit_info*, 9> unit{};   // the unit of each used column
    std::array<std::string, 9> name{};        // each used column's name, for messages
    bool electric = false, magnetic = false;  // which fields the table carries
};

column_plan RESOLVE_COLUMNS(const import_request& request, const table_head& head);

}  // namespace orvex::mapimport
