// profiles.cpp: the thirty profiles cut on the ten fixed lines (profile_lines.cpp places them).
//
// Each line is cut by the one line sampler (node_lines.h). Each field's store keeps one value
// array per (line, component) and one position array per axis: line 1 fills x_pos, line 2
// y_pos, line 3 z_pos, and lines 4 to 10 reuse z_pos.
#include "field/profiles.h"

#include <algorithm>
#include <cstddef>

#include "console/assume.h"
#include "field/node_lines.h"

namespace orvex {

namespace {

// A field's profile store: positions per axis, values per line and component, and the count
// each line had when it was sampled (0 until then). Static, zero at start, never reallocated.
struct profile_store_record {
    std::array<double, transverse_capacity> x_pos{}, y_pos{};
    std::array<double, axial_capacity> z_pos{};
    std::array<std::array<double, transverse_capacity>, 3> x_line{}, y_line{};
    std::array<std::array<std::array<double, axial_capacity>, 3>, line_count - 2> z_lines{};
    std::array<std::int32_t, line_count> count{};
};

std::array<profile_store_record, 2> profile_stores;

char AXIS_LETTER(line_axis a) { return a == line_axis::x ? 'x' : a == line_axis::y ? 'y' : 'z'; }

}  // namespace

// Samples line 1..10 at the fixed indices of LINE_INDICES. A line number outside 1..10 samples
// nothing; counts beyond the capacities (never produced by the unfolding) give an empty line
// rather than a read outside the grid.
void SAMPLE_LINE(const full_map& m, int field, int line) {
    if (line < 1 || line > line_count) return;
    ORVEX_ASSUME(m.complete, "UNFOLD_GRID has run before the grid is sampled");
    profile_store_record& ps = profile_stores[field == 1 ? 1 : 0];
    const std::size_t slot = static_cast<std::size_t>(line - 1);
    ps.count[slot] = 0;
    const line_axis axis = profile_lines[slot].axis;
    const std::size_t capacity = axis == line_axis::z ? axial_capacity : transverse_capacity;
    if (static_cast<std::size_t>(std::max(AXIS_NODES(m, AXIS_LETTER(axis)), 0)) > capacity) return;
    line_samples s;
    SAMPLE_NODE_LINE(m, field, AXIS_LETTER(axis), LINE_NODE(m, line), s);
    const auto n = static_cast<std::ptrdiff_t>(s.n);
    double* pos = line == 1 ? ps.x_pos.data() : line == 2 ? ps.y_pos.data() : line == 3 ? ps.z_pos.data() : nullptr;
    if (pos != nullptr) std::copy_n(s.pos.begin(), n, pos);
    for (std::size_t c = 0; c < 3; ++c) {
        double* val = line == 1 ? ps.x_line[c].data() : line == 2 ? ps.y_line[c].data() : ps.z_lines[slot - 2][c].data();
        std::copy_n(s.val[c].begin(), n, val);
    }
    ps.count[slot] = s.n;
}

// Component 1..3 of line 1..10 as SAMPLE_LINE left it; an empty profile for other arguments.
profile PROFILE(int field, int line, int component) {
    if (line < 1 || line > line_count || component < 1 || component > 3) return {0, nullptr, nullptr};
    const profile_store_record& ps = profile_stores[field == 1 ? 1 : 0];
    const std::size_t c = static_cast<std::size_t>(component - 1);
    const std::int32_t n = ps.count[static_cast<std::size_t>(line - 1)];
    switch (line) {
        case 1: return {n, ps.x_pos.data(), ps.x_line[c].data()};
        case 2: return {n, ps.y_pos.data(), ps.y_line[c].data()};
        default: return {n, ps.z_pos.data(), ps.z_lines[static_cast<std::size_t>(line - 3)][c].data()};
    }
}

}  // namespace orvex
