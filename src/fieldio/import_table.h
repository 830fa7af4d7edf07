// import_table.h: a field solver's column table turned into the stored lattice of a map.
//
// WHAT IT IS
//   IMPORT_TABLE tells what the bytes are (import_source.h), reads the table's header
//   (import_header.h), takes the column names and units from it and from --columns / --units
//   (import_columns.h), reads every row, and places each row on the lattice its coordinates
//   form: per axis the distinct coordinates must lie evenly spaced, so rows may come in any
//   order, x or z fastest alike. Every node of the lattice must appear once: a missing, repeated
//   or off-lattice node is refused, named with its line. The values are converted to cm, V/cm
//   and Gs (a finite value that a conversion makes infinite is refused); a -0 stays -0.
//   The mirror flags are the request's, else the table's "# mirror flags:" line, else 0 0 0. For
//   each flag of 1 the mirror plane (coordinate 0) must be a node of the table, and only the
//   side from it up is kept; every node thrown away must equal the node the viewer will unfold
//   it from, under the parities of the kind written (field/field_table.h), to mirror_tolerance
//   of the field's largest magnitude (import_mirror.h): a magnet whose table lacks a parity is
//   refused, never unfolded wrongly. That stored part must be the map's lattice
//   (stored_nx x stored_ny x stored_nz of field/field_grid.h), or is resampled onto it (linear
//   or cubic) when asked. A complex table (Re and Im columns) gives the part asked for.
//   The header is the request's, else the table's "# map header:" line, else d_elm = the
//   region's length along z, aper = the smaller of its half-widths in x and y, n_cell 0. A
//   positive n_cell makes an array-layout map one of both fields for the viewer, so the map is
//   then written as one (the field the table lacks as zeros) when ncell_marks_both is set.
//   The stored coordinates are the table's own (the mirror plane exactly 0), or those of the
//   table's "# stored x:" / "y:" / "z:" lines when every node kept on that axis lies within
//   1e-6 of a step of the stored coordinate of its place, or the even lattice when resampled.
//
// HOW TO CALL IT
//   try { const imported_map m = IMPORT_TABLE(request, bytes); ... }
//   catch (const run_stop& refusal) { one line: refusal.message }
//
// ASSUMES AND LIMITS
//   The whole table is in memory (a 963,000-row table of nine columns takes about 70 MB of
//   doubles besides its text); at most table_row_limit rows. Coordinates within a ten-millionth
//   of the axis's extent are one coordinate; a node may lie up to a thousandth of a step off
//   its place. Allocation failures are std::bad_alloc, for the caller to report.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "field/field_grid.h"
#include "fieldio/import_header.h"
#include "fieldio/import_resample.h"

namespace orvex::mapimport {

inline constexpr std::size_t table_row_limit = std::size_t{1} << 24;  // 16,777,216

struct import_request {
    std::vector<std::string> columns;            // --columns, or empty
    std::vector<std::string> units;              // --units, or empty
    std::optional<std::array<int, 3>> sym;       // --sym: ksym_yz, ksym_xz, ksym_xy; none: the table's
    resampling resample = resampling::none;
    column_part part = column_part::whole;       // --part re or im; whole when not given
    std::optional<map_header> header;            // --header; none: the table's, else the default
    double mirror_tolerance = 1e-6;              // of the field's largest magnitude
    bool ncell_marks_both = true;                // an array layout: n_cell > 0 means both fields
};

struct imported_map {
    std::array<double, stored_nx> x{};
    std::array<double, stored_ny> y{};
    std::array<double, stored_nz> z{};
    std::array<std::vector<double>, 6> values;  // Ex Ey Ez Bx By Bz, stored_nodes each, x fastest
    int kind = 0;                               // written: 0 E, 1 B, 2 both
    bool electric = false, magnetic = false;    // the fields the table carries
    std::array<int, 3> sym{};
    map_header header;
};

imported_map IMPORT_TABLE(const import_request& request, std::string_view bytes);

}  // namespace orvex::mapimport
