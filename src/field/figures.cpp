// figures.cpp: the figures of the lines and of the z axis; see figures.h. The divergence check
// is in divergence.cpp, the search for the best beta in transit_time.cpp.
//
// Every sum runs in node order, in the form figures.h gives, so that another program that
// follows the same definitions meets these numbers to rounding.
#include "field/figures.h"

#include <cmath>
#include <cstddef>

#include "field/field_table.h"
#include "field/figures_axis.h"

namespace orvex {

namespace {

// Position of node n (1-based) on an axis from lo with step: as the page places it.
double NODE_POSITION(int n, double step, double lo) { return static_cast<double>(n - 1) * step + lo; }

// Extremes and trapezoid integral of one sampled component.
component_figures LINE_COMPONENT(const double* pos, const double* val, int n) {
    component_figures c;
    bool finite = true;
    for (int p = 0; p < n; ++p) {
        const double v = val[p];
        if (!std::isfinite(v)) {
            finite = false;
            continue;
        }
        if (!c.smallest || v < c.smallest->value) c.smallest = extreme_value{v, p + 1, pos[p]};
        if (!c.largest || v > c.largest->value) c.largest = extreme_value{v, p + 1, pos[p]};
    }
    if (finite && n > 0) c.integral = TRAPEZOID(pos, val, n);
    return c;
}

}  // namespace

double TRAPEZOID(const double* pos, const double* val, int n) {
    double sum = 0.0;
    for (int p = 0; p + 1 < n; ++p) sum += (val[p] + val[p + 1]) / 2.0 * (pos[p + 1] - pos[p]);
    return sum;
}

axis_samples SAMPLE_AXIS_LINE(const field_grid_record& g, const figure_line& line, int field) {
    axis_samples s;
    const std::array<const full_array*, 3> triple = TRIPLE_OF(g, field);
    const int i0 = line.fixed.first, j0 = line.fixed.second;
    if (line.axis != line_axis::z || g.nz < 1 || g.nz > full_capacity_z || i0 < 1 || i0 > full_capacity_x || j0 < 1 ||
        j0 > full_capacity_y)
        return s;
    const double dz = (g.zmax - g.zmin) / static_cast<double>(g.nz - 1);
    for (int k = 1; k <= g.nz; ++k) {
        const std::size_t p = static_cast<std::size_t>(k - 1);
        s.pos[p] = NODE_POSITION(k, dz, g.zmin);
        for (std::size_t c = 0; c < 3; ++c) s.val[c][p] = (*triple[c])[FULL_INDEX(i0, j0, k)];
    }
    s.n = g.nz;
    return s;
}

std::array<const full_array*, 3> TRIPLE_OF(const field_grid_record& g, int field) {
    const field_entry& f = FIELD_ENTRY(field);
    return {&(g.*f.full[0]), &(g.*f.full[1]), &(g.*f.full[2])};
}

field_figures COMPUTE_FIGURES(const field_grid_record& g, const figure_lines& lines, int field,
                              const figure_request& request) {
    field_figures f;
    f.field = field == 1 ? 1 : 0;
    const std::array<const full_array*, 3> triple = TRIPLE_OF(g, f.field);
    const double dx = (g.xmax - g.xmin) / static_cast<double>(g.nx - 1);
    const double dy = (g.ymax - g.ymin) / static_cast<double>(g.ny - 1);

    for (int l = 0; l < line_count; ++l) {
        const figure_line& line = lines.line[static_cast<std::size_t>(l)];
        line_figures& out = f.lines[static_cast<std::size_t>(l)];
        if (line.axis == line_axis::z) {
            const axis_samples s = SAMPLE_AXIS_LINE(g, line, f.field);
            out.count = s.n;
            for (std::size_t c = 0; c < 3; ++c) out.components[c] = LINE_COMPONENT(s.pos.data(), s.val[c].data(), s.n);
            continue;
        }
        // Lines along x (fixed j, k) and y (fixed i, k).
        const bool along_x = line.axis == line_axis::x;
        const int n = along_x ? g.nx : g.ny;
        const int a = line.fixed.first, b = line.fixed.second;
        if (n < 1 || n > transverse_capacity || a < 1 || b < 1 || b > full_capacity_z ||
            a > (along_x ? full_capacity_y : full_capacity_x))
            continue;
        std::array<double, transverse_capacity> pos{};
        std::array<std::array<double, transverse_capacity>, 3> val{};
        for (int m = 1; m <= n; ++m) {
            const std::size_t p = static_cast<std::size_t>(m - 1);
            pos[p] = along_x ? NODE_POSITION(m, dx, g.xmin) : NODE_POSITION(m, dy, g.ymin);
            const std::size_t at = along_x ? FULL_INDEX(m, a, b) : FULL_INDEX(a, m, b);
            for (std::size_t c = 0; c < 3; ++c) val[c][p] = (*triple[c])[at];
        }
        out.count = n;
        for (std::size_t c = 0; c < 3; ++c) out.components[c] = LINE_COMPONENT(pos.data(), val[c].data(), n);
    }

    const figure_line& axis = lines.line[2];
    if (f.field == 0) {
        f.axial_voltage = f.lines[2].components[2].integral;
        if (request.frequency_mhz) {
            if (request.beta) f.at_beta = RF_AT_BETA(g, lines, *request.frequency_mhz, *request.beta);
            if (request.find_best) f.best = BEST_BETA(g, lines, *request.frequency_mhz);
        }
    } else {
        const axis_samples s = SAMPLE_AXIS_LINE(g, axis, 1);
        f.bz_integral = f.lines[2].components[2].integral;
        if (f.bz_integral && s.n > 0) {
            std::array<double, axial_capacity> squared{};
            for (int p = 0; p < s.n; ++p) squared[static_cast<std::size_t>(p)] = s.val[2][static_cast<std::size_t>(p)] * s.val[2][static_cast<std::size_t>(p)];
            const double i1 = *f.bz_integral, i2 = TRAPEZOID(s.pos.data(), squared.data(), s.n);
            f.bz2_integral = i2;
            if (i2 != 0.0 && std::isfinite(i1 * i1 / i2)) f.effective_length = i1 * i1 / i2;
            if (i1 != 0.0 && std::isfinite(i2 / i1)) f.hard_edge_field = i2 / i1;
        }
    }
    f.gradient = AXIS_GRADIENT(g, axis, f.field);
    f.divergence = DIVERGENCE(g, f.field);
    return f;
}

std::optional<gradient_figures> AXIS_GRADIENT(const field_grid_record& g, const figure_line& axis, int field) {
    const int i0 = axis.fixed.first, j0 = axis.fixed.second;
    if (axis.axis != line_axis::z || i0 - 1 < 1 || i0 + 1 > g.nx || i0 + 1 > full_capacity_x || j0 < 1 ||
        j0 > full_capacity_y || g.nz < 1 || g.nz > full_capacity_z)
        return std::nullopt;
    const full_array& f = field == 1 ? g.by_full : g.ex_full;  // dBy/dx or dEx/dx
    const double dx = (g.xmax - g.xmin) / static_cast<double>(g.nx - 1);
    const double dz = (g.zmax - g.zmin) / static_cast<double>(g.nz - 1);
    const double span = NODE_POSITION(i0 + 1, dx, g.xmin) - NODE_POSITION(i0 - 1, dx, g.xmin);
    std::array<double, axial_capacity> pos{}, grad{};
    bool finite = true;
    std::optional<gradient_figures> out;
    for (int k = 1; k <= g.nz; ++k) {
        const std::size_t p = static_cast<std::size_t>(k - 1);
        pos[p] = NODE_POSITION(k, dz, g.zmin);
        grad[p] = (f[FULL_INDEX(i0 + 1, j0, k)] - f[FULL_INDEX(i0 - 1, j0, k)]) / span;
        if (!std::isfinite(grad[p])) {
            finite = false;
            continue;
        }
        if (!out || std::fabs(grad[p]) > std::fabs(out->largest)) out = gradient_figures{grad[p], k, pos[p], std::nullopt};
    }
    if (out && finite) out->integral = TRAPEZOID(pos.data(), grad.data(), g.nz);
    return out;
}

}  // namespace orvex
