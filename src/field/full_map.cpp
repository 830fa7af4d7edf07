// full_map.cpp: a field of the full map unfolded on its first request, and the map's axes.
//
// A field's arrays are written in memory order, one row along x at a time (UNFOLD_ROW,
// unfold_rows.cpp), from the stored lattice the map was made from. Nothing here touches a global
// record: the window module, handed the program's map, unfolds a field in it the same way.
#include "field/full_map.h"

#include <cmath>
#include <cstddef>

#include "field/field_grid.h"
#include "field/field_table.h"
#include "field/unfold_rows.h"

namespace orvex {

namespace {

// The component arrays of the full map, Ex .. Bz.
constexpr std::array<full_array full_map::*, component_count> component_arrays{
    &full_map::ex_full, &full_map::ey_full, &full_map::ez_full,
    &full_map::bx_full, &full_map::by_full, &full_map::bz_full};

// Writes the three arrays of field (0 or 1) from the stored lattice.
void UNFOLD_FIELD(const full_map& m, int field) {
    const field_grid_record& g = *m.stored;
    const unfold_plan plan = UNFOLD_PLAN(g);
    const auto row_length = static_cast<std::size_t>(plan.nx);
    for (int c = 3 * field; c < 3 * field + 3; ++c) {
        // The one place the record's arrays are written after UNFOLD_GRID (the arrays are mutable).
        full_array& dst = const_cast<full_array&>(m.*component_arrays[static_cast<std::size_t>(c)]);
        for (int k = 1; k <= plan.nz; ++k)
            for (int j = 1; j <= plan.ny; ++j)
                UNFOLD_ROW(g, plan, c, j, k, std::span<double>(dst.data() + FULL_INDEX(1, j, k), row_length));
    }
}

}  // namespace

component_triple FIELD_TRIPLE(const full_map& m, int field) {
    const int f = field == 1 ? 1 : 0;
    const auto slot = static_cast<std::size_t>(f);
    if (!m.held[slot].load(std::memory_order_acquire)) {
        const std::lock_guard<std::mutex> lock(m.unfolding);
        if (!m.held[slot].load(std::memory_order_relaxed) && m.nx != 0 && m.stored != nullptr) {
            UNFOLD_FIELD(m, f);
            m.held[slot].store(true, std::memory_order_release);
        }
    }
    return {&(m.*component_arrays[slot * 3]), &(m.*component_arrays[slot * 3 + 1]),
            &(m.*component_arrays[slot * 3 + 2])};
}

const full_array& COMPONENT_ARRAY(const full_map& m, int c) {
    const int clamped = c < 0 ? 0 : c >= component_count ? component_count - 1 : c;
    return *FIELD_TRIPLE(m, clamped / 3)[static_cast<std::size_t>(clamped % 3)];
}

bool MAP_CARRIES(const full_map& m, int field) {
    return (field == 0 || field == 1) && (m.field_kind == 2 || m.field_kind == field);
}

int AXIS_NODES(const full_map& m, char axis) { return axis == 'x' ? m.nx : axis == 'y' ? m.ny : m.nz; }

std::span<const double> AXIS_COORDINATES(const full_map& m, char axis) {
    const auto n = static_cast<std::size_t>(AXIS_NODES(m, axis) < 0 ? 0 : AXIS_NODES(m, axis));
    if (axis == 'x') return std::span<const double>(m.x).first(n);
    if (axis == 'y') return std::span<const double>(m.y).first(n);
    return std::span<const double>(m.z).first(n);
}

double AXIS_STEP(const full_map& m, char axis) { return axis == 'x' ? m.dx : axis == 'y' ? m.dy : m.dz; }

double NODE_COORDINATE(const full_map& m, char axis, int n) {
    const std::span<const double> c = AXIS_COORDINATES(m, axis);
    if (c.empty()) return 0.0;
    const auto at = static_cast<std::size_t>(n < 1 ? 1 : n > static_cast<int>(c.size()) ? static_cast<int>(c.size()) : n);
    return c[at - 1];
}

int NEAREST_NODE_AT(const full_map& m, char axis, double coordinate) {
    const int count = AXIS_NODES(m, axis);
    if (count <= 1) return 1;
    const double lo = NODE_COORDINATE(m, axis, 1);
    const double step = AXIS_STEP(m, axis);
    if (!(step > 0.0) || !std::isfinite(coordinate)) return 1;
    const double steps = (coordinate - lo) / step;
    if (steps <= 0.0) return 1;
    if (steps >= count - 1) return count;
    // Round half down: a point midway between two nodes takes the lower one.
    const double below = std::floor(steps);
    return static_cast<int>(below) + 1 + (steps - below > 0.5 ? 1 : 0);
}

}  // namespace orvex
