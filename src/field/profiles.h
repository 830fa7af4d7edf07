// profiles.h: the ten fixed lines through the full grid and the thirty profiles cut on them.
//
// WHAT IT IS
//   Lines are placed by node-index rules on the full grid's counts, never from the aperture:
//   centre n/2 + 1, M 3n/4 + 1, Q 5n/8 + 2, U trunc(n * 1.7071068f / 2.0f), L
//   trunc(n * 0.29289323f / 2.0f). Line 1 runs along x, line 2 along y, lines 3 to 10 along z.
//   A profile is one component of the field it is handed (0 electric, 1 magnetic) along one
//   line: node values and coordinates of the full map (full_map.h), cut by the one line
//   sampler (node_lines.h), never interpolated. Each field has a store of its own, so the page
//   of one field never overwrites the profiles of the other.
//
// HOW TO CALL IT
//   The plot driver drives the sampling line by line:
//     for line 1..10: LINE_INDICES(m, line) -> print; SAMPLE_LINE(m, field, line);
//                     PROFILE(field, line, c) -> plot
//
// ASSUMES AND LIMITS
//   UNFOLD_GRID has run (checked in debug and sanitizer builds: console/assume.h). Every line's
//   arrays stay valid for the whole run (line 3 fills z_pos, lines 4 to 10 reuse it) until the
//   same field's line is sampled again; nothing is allocated. Counts beyond the capacities (50
//   across, 402 along z), which the unfolding never gives, sample nothing rather than read
//   outside the grid.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "field/full_map.h"

namespace orvex {

inline constexpr int line_count = 10;
inline constexpr int transverse_capacity = 50;  // x and y lines
inline constexpr int axial_capacity = 402;      // z lines

enum class line_axis { x, y, z };

// One of the ten lines: its axis, its console label (21 characters) and axis title (text of
// the title; drawn blank-padded to 20 characters).
struct profile_line {
    line_axis axis;
    std::string_view console_label;
    std::string_view axis_title;
};

// The ten lines in table order (index 0 is line 1).
extern const std::array<profile_line, line_count> profile_lines;

// The two fixed node indices of a line, in the order they are printed: line 1 (j, k),
// line 2 (i, k), lines 3 to 10 (i, j).
struct line_indices {
    std::int32_t first;
    std::int32_t second;
};

// One component along one line: a view into the profile store.
struct profile {
    std::int32_t n;
    const double* pos;
    const double* val;
};

// The fixed indices of line (1..10) from the counts of the full map.
line_indices LINE_INDICES(const full_map& m, int line);

// A node line (1..10) passes through (its own index along the line is 1).
grid_node LINE_NODE(const full_map& m, int line);

// Samples line (1..10) of field (0 electric, 1 magnetic) into that field's store: its positions
// (lines 1 to 3) and the field's three components.
void SAMPLE_LINE(const full_map& m, int field, int line);

// Component (1..3) of line (1..10) of field, as SAMPLE_LINE left it.
profile PROFILE(int field, int line, int component);

}  // namespace orvex
