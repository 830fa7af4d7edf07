// profiles.cpp: the ten fixed lines through the full grid and the thirty profiles cut on them.
//
// Every line position is a node index from integer arithmetic on the counts; values are full
// grid nodes as the unfolding left them, never interpolated. The store keeps one value array
// per (line, component) and one position array per axis for the whole run: line 1 fills x_pos,
// line 2 y_pos, line 3 z_pos, and lines 4 to 10 reuse z_pos.
#include "field/profiles.h"

#include <cstddef>

#include "console/assume.h"
#include "field/field_grid.h"
#include "field/field_table.h"

namespace orvex {

const std::array<profile_line, line_count> profile_lines{{
    {line_axis::x, " Y=0 and Z=0: j, k = ", "X (cm), Y=Z=0"},
    {line_axis::y, " X=0 and Z=0: i, k = ", "Y (cm), X=Z=0"},
    {line_axis::z, " X=0 and Y=0: i, j = ", "Z (cm), X=Y=0"},
    {line_axis::z, " X=0 and Y=m: i, j = ", "Z (cm), X=0,Y=M"},
    {line_axis::z, " X=m and Y=0: i, j = ", "Z (cm), X=M,Y=0"},
    {line_axis::z, " X=q and Y=m: i, j = ", "Z (cm), X=Q,Y=M"},
    {line_axis::z, " X=m and Y=q: i, j = ", "Z (cm), X=M,Y=Q"},
    {line_axis::z, " X=m and Y=m: i, j = ", "Z (cm), X=M,Y=M"},
    {line_axis::z, " X=u and Y=u: i, j = ", "Z (cm), X=U,Y=U"},
    {line_axis::z, " X=l and Y=l: i, j = ", "Z (cm), X=L,Y=L"},
}};

namespace {

// The profile store: positions per axis, values per line and component, and the count each
// line had when it was sampled (0 until then). Static, zero at start, never reallocated.
struct profile_store_record {
    std::array<double, transverse_capacity> x_pos{}, y_pos{};
    std::array<double, axial_capacity> z_pos{};
    std::array<std::array<double, transverse_capacity>, 3> x_line{}, y_line{};
    std::array<std::array<std::array<double, axial_capacity>, 3>, line_count - 2> z_lines{};
    std::array<std::int32_t, line_count> count{};
};

profile_store_record profile_store;

// Index rules on a count n (integer division, product first).
constexpr std::int32_t CENTRE(std::int32_t n) { return n / 2 + 1; }
constexpr std::int32_t M_NODE(std::int32_t n) { return 3 * n / 4 + 1; }
constexpr std::int32_t Q_NODE(std::int32_t n) { return 5 * n / 8 + 2; }
// U and L use the single-precision factors 1 +- 1/sqrt(2) and divisor, truncated toward zero.
std::int32_t U_NODE(std::int32_t n) {
    return static_cast<std::int32_t>(static_cast<float>(n) * 1.7071068f / 2.0f);
}
std::int32_t L_NODE(std::int32_t n) {
    return static_cast<std::int32_t>(static_cast<float>(n) * 0.29289323f / 2.0f);
}

// The three full arrays of the field field_flag selects.
std::array<const full_array*, 3> SELECTED_TRIPLE(const field_grid_record& g) {
    const field_entry& f = FIELD_ENTRY(g.field_flag);
    return {&(g.*f.full[0]), &(g.*f.full[1]), &(g.*f.full[2])};
}

// True when (i, j, k) lies in the full arrays' capacity: the sampling never reads outside the
// record, whatever the counts.
bool IN_CAPACITY(int i, int j, int k) {
    return i >= 1 && i <= full_capacity_x && j >= 1 && j <= full_capacity_y && k >= 1 && k <= full_capacity_z;
}

}  // namespace

// Steps from the limits and counts of the full grid. With counts 0 (no unfolding case) each step
// is the span divided by -1: finite, and no node is ever placed with it.
void COMPUTE_MESH_STEPS() {
    field_grid_record& g = field_grid;
    g.dx = (g.xmax - g.xmin) / static_cast<double>(g.nx - 1);
    g.dy = (g.ymax - g.ymin) / static_cast<double>(g.ny - 1);
    g.dz = (g.zmax - g.zmin) / static_cast<double>(g.nz - 1);
}

// Fixed indices of line 1..10 from the current counts; {0, 0} for any other line number.
line_indices LINE_INDICES(int line) {
    const field_grid_record& g = field_grid;
    switch (line) {
        case 1: return {CENTRE(g.ny), CENTRE(g.nz)};
        case 2: return {CENTRE(g.nx), CENTRE(g.nz)};
        case 3: return {CENTRE(g.nx), CENTRE(g.ny)};
        case 4: return {CENTRE(g.nx), M_NODE(g.ny)};
        case 5: return {M_NODE(g.nx), CENTRE(g.ny)};
        case 6: return {Q_NODE(g.nx), M_NODE(g.ny)};
        case 7: return {M_NODE(g.nx), Q_NODE(g.ny)};
        case 8: return {M_NODE(g.nx), M_NODE(g.ny)};
        case 9: return {U_NODE(g.nx), U_NODE(g.ny)};
        case 10: return {L_NODE(g.nx), L_NODE(g.ny)};
        default: return {0, 0};
    }
}

// Samples line 1..10 at the fixed indices of LINE_INDICES: positions (index - 1) * step + lower
// limit for lines 1 to 3, and the three values of the selected triple. Assumes the mesh steps
// are set. A line number outside 1..10 samples nothing; counts beyond the capacities (never
// produced by the unfolding) give an empty line rather than a read outside the grid.
void SAMPLE_LINE(int line) {
    if (line < 1 || line > line_count) return;
    const field_grid_record& g = field_grid;
    ORVEX_ASSUME(g.unfolded, "UNFOLD_GRID has run before the grid is sampled");
    profile_store_record& ps = profile_store;
    const line_indices fixed = LINE_INDICES(line);
    const std::array<const full_array*, 3> triple = SELECTED_TRIPLE(g);
    const std::size_t slot = static_cast<std::size_t>(line - 1);
    ps.count[slot] = 0;

    if (line == 1) {
        const int j = fixed.first, k = fixed.second;
        if (g.nx > transverse_capacity || (g.nx > 0 && !IN_CAPACITY(g.nx, j, k))) return;
        for (int i = 1; i <= g.nx; ++i) {
            const std::size_t p = static_cast<std::size_t>(i - 1);
            ps.x_pos[p] = static_cast<double>(i - 1) * g.dx + g.xmin;
            for (std::size_t c = 0; c < 3; ++c) ps.x_line[c][p] = (*triple[c])[FULL_INDEX(i, j, k)];
        }
        ps.count[slot] = g.nx;
    } else if (line == 2) {
        const int i = fixed.first, k = fixed.second;
        if (g.ny > transverse_capacity || (g.ny > 0 && !IN_CAPACITY(i, g.ny, k))) return;
        for (int j = 1; j <= g.ny; ++j) {
            const std::size_t p = static_cast<std::size_t>(j - 1);
            ps.y_pos[p] = static_cast<double>(j - 1) * g.dy + g.ymin;
            for (std::size_t c = 0; c < 3; ++c) ps.y_line[c][p] = (*triple[c])[FULL_INDEX(i, j, k)];
        }
        ps.count[slot] = g.ny;
    } else {
        const int i = fixed.first, j = fixed.second;
        if (g.nz > axial_capacity || (g.nz > 0 && !IN_CAPACITY(i, j, g.nz))) return;
        auto& values = ps.z_lines[slot - 2];
        for (int k = 1; k <= g.nz; ++k) {
            const std::size_t p = static_cast<std::size_t>(k - 1);
            if (line == 3) ps.z_pos[p] = static_cast<double>(k - 1) * g.dz + g.zmin;
            for (std::size_t c = 0; c < 3; ++c) values[c][p] = (*triple[c])[FULL_INDEX(i, j, k)];
        }
        ps.count[slot] = g.nz;
    }
}

// Component 1..3 of line 1..10 as SAMPLE_LINE left it; an empty profile for other arguments.
profile PROFILE(int line, int component) {
    if (line < 1 || line > line_count || component < 1 || component > 3) return {0, nullptr, nullptr};
    const profile_store_record& ps = profile_store;
    const std::size_t c = static_cast<std::size_t>(component - 1);
    const std::int32_t n = ps.count[static_cast<std::size_t>(line - 1)];
    switch (line) {
        case 1: return {n, ps.x_pos.data(), ps.x_line[c].data()};
        case 2: return {n, ps.y_pos.data(), ps.y_line[c].data()};
        default: return {n, ps.z_pos.data(), ps.z_lines[static_cast<std::size_t>(line - 3)][c].data()};
    }
}

}  // namespace orvex
