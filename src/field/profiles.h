// profiles.h: the ten fixed lines through the full grid and the thirty profiles cut on them.
//
// WHAT IT IS
//   Lines are placed by node-index rules on the full grid's counts, never from the aperture:
//   centre n/2 + 1, M 3n/4 + 1, Q 5n/8 + 2, U trunc(n * 1.7071068f / 2.0f), L
//   trunc(n * 0.29289323f / 2.0f). Line 1 runs along x, line 2 along y, lines 3 to 10 along z.
//   A profile is one component of the triple field_flag selects along one line: node values of
//   the full grid as the unfolding left them, never interpolated.
//
// HOW TO CALL IT
//   The plot driver drives the sampling line by line:
//     COMPUTE_MESH_STEPS();                  // dx, dy, dz of field_grid
//     for line 1..10: LINE_INDICES(line) -> print; SAMPLE_LINE(line); PROFILE(line, c) -> plot
//
// ASSUMES AND LIMITS
//   UNFOLD_GRID has run (checked in debug and sanitizer builds: console/assume.h). Every line's arrays stay valid for the whole run (line 3 fills z_pos,
//   lines 4 to 10 reuse it); nothing is allocated. Counts beyond the capacities (50 across, 402
//   along z), which the unfolding never gives, sample nothing rather than read outside the grid.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

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

// Sets field_grid.dx, dy, dz from the counts and limits of the full grid.
void COMPUTE_MESH_STEPS();

// The fixed indices of line (1..10) from the current counts of the full grid.
line_indices LINE_INDICES(int line);

// Samples line (1..10): its positions (lines 1 to 3) and the three components of the triple
// that field_grid.field_flag selects.
void SAMPLE_LINE(int line);

// Component (1..3) of line (1..10), as SAMPLE_LINE left it.
profile PROFILE(int line, int component);

}  // namespace orvex
