// table_import.h: a field solver's column table turned into the stored lattice of a map.
//
// WHAT IT IS
//   IMPORT_TABLE reads the table's header (table_header.h), takes the column names and units
//   from it and from --columns / --units, reads every row, and places each row on the lattice
//   its coordinates form: per axis the distinct coordinates must lie evenly spaced (the step is
//   the median gap), so rows may come in any order, x or z fastest alike. Every node of the
//   lattice must appear once: a missing, repeated or off-lattice node is refused, named with its
//   line. The values are converted to cm, V/cm and Gs; for each mirror flag of 1 the mirror
//   plane (coordinate 0) must be a node of the table, and only the side from it up is kept.
//   That stored part must be the map's 25 x 25 x 201 nodes, or is resampled onto them (linear
//   or cubic) when asked. A complex table (Re and Im columns) gives the part asked for.
//
// HOW TO CALL IT
//   try { const imported_map m = IMPORT_TABLE(request, text); ... }
//   catch (const import_refusal& r) { one line: r.text }
//
// ASSUMES AND LIMITS
//   The whole table is in memory (a 963,000-row table of nine columns takes about 70 MB of
//   doubles besides its text). Coordinates within a ten-millionth of the axis's extent are one
//   coordinate; a node may lie up to a thousandth of a step off its place. The coordinates kept
//   are the table's own (the mirror plane exactly 0), or the even target lattice when resampled.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "map_writer.h"
#include "resample.h"
#include "table_header.h"

namespace orvex::mapimport {

struct import_request {
    std::vector<std::string> columns;  // --columns, or empty
    std::vector<std::string> units;    // --units, or empty
    std::array<int, 3> sym{};          // --sym: ksym_yz, ksym_xz, ksym_xy
    resampling resample = resampling::none;
    column_part part = column_part::whole;  // --part re or im; whole when not given
};

struct imported_map {
    mapgen::stored_lattice lattice;  // 25 x 25 x 201, components the table lacks are 0
    int kind = 0;                    // 0 E, 1 B, 2 both
};

imported_map IMPORT_TABLE(const import_request& request, std::string_view text);

}  // namespace orvex::mapimport
