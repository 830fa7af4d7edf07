// import_mirror.h: whether the stored part of a map unfolds to the field it was cut from, and
// the one line that says where it does not.
//
// WHAT IT IS
//   The viewer unfolds a mirrored axis by copying each stored node to its mirror image and
//   negating the components odd in that axis under the parities of the map's kind
//   (field/field_table.h, ODD_AXES). A magnet whose field lacks those parities (a quadrupole
//   stored as a quadrant of a magnetic map) would be shown wrongly without a word; these checks
//   refuse it instead.
//   CHECK_DISCARDED_NODES compares every node of a table that the stored part leaves out with
//   the node the viewer will unfold it from, component by component, and refuses when one
//   differs by more than tolerance times the field's largest magnitude over the table; the line
//   names a mismatch across the fewest mirrors, and among those the largest.
//   MIRROR_MISMATCH_TEXT is the line for a mismatch found here or by the map writer's own check
//   of its models: the component, the node, both values, the mirror flag and what to do.
//
// HOW TO CALL IT
//   CHECK_DISCARDED_NODES(rows, row_of, axes, first, plan, kind, 1e-6);   // a refusal is a run_stop
//   const std::string line = MIRROR_MISMATCH_TEXT(mismatch);
//
// ASSUMES AND LIMITS
//   Values in V/cm and Gs (READ_ROWS converts them), coordinates shown in cm. A node whose image
//   lies beyond the stored part is not compared (the map does not reach it); NaN values are
//   not compared (the viewer notes them).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "fieldio/import_rows.h"

namespace orvex::mapimport {

struct mirror_mismatch {
    int component = 0;             // 0..5: Ex .. Bz
    int kind = 0;                  // the kind of the map written: 0 E, 1 B, 2 both
    std::array<double, 3> at{};    // the node that differs, cm
    std::array<double, 3> from{};  // the stored node the viewer unfolds it from, cm
    double value = 0.0;            // the field at `at`, V/cm or Gs
    double unfolded = 0.0;         // what the unfolding puts there
    unsigned mirrors = 0;          // odd_x | odd_y | odd_z of field_table.h: the planes crossed
    long long line = 0;            // the table's line of the node; 0 for a model's field
    std::string source;            // "" (a table), or whose field it is: "the solenoid model's"
};

std::string MIRROR_MISMATCH_TEXT(const mirror_mismatch& m);

void CHECK_DISCARDED_NODES(const table_rows& rows, const std::vector<std::int32_t>& row_of,
                           const std::array<axis_lattice, 3>& axes, const std::array<int, 3>& first,
                           const column_plan& plan, int kind, double tolerance);

}  // namespace orvex::mapimport
