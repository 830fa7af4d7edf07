// divergence.cpp: the divergence check of one field over the interior nodes of the full grid,
// with what its central differences themselves cost; see figures.h for its definition.
//
// One pass over the grid in memory order. Which nodes hold no field is kept for five planes of
// z at a time (neighbour_rule.h), each plane marked once, just before the pass needs it, while
// its values are still in the cache: the grid is read about once.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <span>

#include "console/number_text.h"
#include "field/field_table.h"
#include "field/figures_axis.h"
#include "field/neighbour_rule.h"

namespace orvex {

namespace {

constexpr std::size_t stride_y = full_capacity_x;
constexpr std::size_t stride_z = std::size_t{full_capacity_x} * full_capacity_y;

// The spans over two steps c(n + 1) - c(n - 1) at each interior node of an axis, and 1 / (3 span).
template <std::size_t capacity>
struct axis_spans {
    std::array<double, capacity> span{}, third{};
};
template <std::size_t capacity>
void AXIS_SPANS(std::span<const double> coord, axis_spans<capacity>& a) {
    for (std::size_t n = 1; n + 1 < coord.size(); ++n) {
        a.span[n] = coord[n + 1] - coord[n - 1];
        a.third[n] = 1.0 / (3.0 * a.span[n]);
    }
}

// The error of a central difference of component c at offset at along an axis (one step is s,
// the span over two steps given as third = 1 / (3 span)), |T| / (3 span), from the third
// difference T of the widest stencil whose nodes are in the grid and hold a field: low and high
// say whether the nodes two steps below and above do (figures.h); 0 when none fits. The caller
// counts an estimate that is not finite as 0.
double DIFFERENCE_ERROR(const double* c, std::size_t at, std::size_t s, bool low, bool high, double third_of_span) {
    double third = 0.0;
    if (low && high) {
        third = (c[at + 2 * s] - 2.0 * c[at + s] + 2.0 * c[at - s] - c[at - 2 * s]) / 2.0;
    } else if (high) {
        third = c[at + 2 * s] - 3.0 * c[at + s] + 3.0 * c[at] - c[at - s];
    } else if (low) {
        third = c[at + s] - 3.0 * c[at] + 3.0 * c[at - s] - c[at - 2 * s];
    }
    return std::fabs(third) * third_of_span;
}

double FINITE_OR_0(double v) { return v <= 1.7976931348623157e308 ? v : 0.0; }

// The figures of the nodes i = 2 .. nx - 1 of one row (j, k), by node index.
struct node_row {
    std::array<bool, full_capacity_x> judged{};
    std::array<double, full_capacity_x> sum{}, terms{};
    std::array<std::array<double, full_capacity_x>, 3> error{};  // ex, ey, ez
};

// Where a row lies: the field, its j and k, the count along x, the spans.
struct row_place {
    const component_triple& f;
    int j, k, nx;
    const axis_spans<full_capacity_x>& sx;
    double span_y, third_y, span_z, third_z;
};

// The differences of one node into the row: the terms, their sum, and each axis's error.
inline void NODE_TERMS(const row_place& r, int i, bool x_low, bool x_high, bool y_low, bool y_high, bool z_low, bool z_high,
                       node_row& row) {
    const double* fx = r.f[0]->data();
    const double* fy = r.f[1]->data();
    const double* fz = r.f[2]->data();
    const auto n = static_cast<std::size_t>(i);
    const std::size_t at = FULL_INDEX(i, r.j, r.k);
    const double tx = (fx[at + 1] - fx[at - 1]) / r.sx.span[n - 1];
    const double ty = (fy[at + stride_y] - fy[at - stride_y]) / r.span_y;
    const double tz = (fz[at + stride_z] - fz[at - stride_z]) / r.span_z;
    row.sum[n] = std::fabs(tx + ty + tz);
    row.terms[n] = std::fabs(tx) + std::fabs(ty) + std::fabs(tz);
    row.error[0][n] = DIFFERENCE_ERROR(fx, at, 1, x_low, x_high, r.sx.third[n - 1]);
    row.error[1][n] = DIFFERENCE_ERROR(fy, at, stride_y, y_low, y_high, r.third_y);
    row.error[2][n] = DIFFERENCE_ERROR(fz, at, stride_z, z_low, z_high, r.third_z);
}

// A row whose nodes two steps around in y and z all hold a field (zero_planes::CLEAR_AROUND):
// every node is judged and every stencil is the centred one but at the ends in x. The same
// arithmetic as ANY_ROW, without a branch in the loop.
void CLEAR_ROW(const row_place& r, node_row& row) {
    NODE_TERMS(r, 2, false, 4 <= r.nx, true, true, true, true, row);
    if (r.nx > 3) NODE_TERMS(r, r.nx - 1, true, false, true, true, true, true, row);
    // NODE_TERMS with every stencil centred, written out over the row so that it vectorizes (the
    // row's arrays are not the field's).
    const std::size_t first = FULL_INDEX(1, r.j, r.k);
    const double* __restrict fx = r.f[0]->data() + first;
    const double* __restrict fy = r.f[1]->data() + first;
    const double* __restrict fz = r.f[2]->data() + first;
    const double* __restrict span_x = r.sx.span.data();
    const double* __restrict third_x = r.sx.third.data();
    double* __restrict sum = row.sum.data();
    double* __restrict terms = row.terms.data();
    double* __restrict ex = row.error[0].data();
    double* __restrict ey = row.error[1].data();
    double* __restrict ez = row.error[2].data();
    constexpr std::size_t y = stride_y, z = stride_z;
    for (std::size_t n = 3; n + 1 < static_cast<std::size_t>(r.nx); ++n) {
        const std::size_t at = n - 1;
        const double tx = (fx[at + 1] - fx[at - 1]) / span_x[n - 1];
        const double ty = (fy[at + y] - fy[at - y]) / r.span_y;
        const double tz = (fz[at + z] - fz[at - z]) / r.span_z;
        sum[n] = std::fabs(tx + ty + tz);
        terms[n] = std::fabs(tx) + std::fabs(ty) + std::fabs(tz);
        ex[n] = std::fabs((fx[at + 2] - 2.0 * fx[at + 1] + 2.0 * fx[at - 1] - fx[at - 2]) / 2.0) * third_x[n - 1];
        ey[n] = std::fabs((fy[at + 2 * y] - 2.0 * fy[at + y] + 2.0 * fy[at - y] - fy[at - 2 * y]) / 2.0) * r.third_y;
        ez[n] = std::fabs((fz[at + 2 * z] - 2.0 * fz[at + z] + 2.0 * fz[at - z] - fz[at - 2 * z]) / 2.0) * r.third_z;
    }
    for (int i = 2; i < r.nx; ++i) row.judged[static_cast<std::size_t>(i)] = true;
}

// Any row: the neighbour rule and the stencils node by node.
void ANY_ROW(const row_place& r, const zero_planes& planes, int ny, node_row& row) {
    const int j = r.j;
    for (int i = 2; i < r.nx; ++i) {
        row.judged[static_cast<std::size_t>(i)] = planes.JUDGED(i, j);
        if (!row.judged[static_cast<std::size_t>(i)]) continue;
        NODE_TERMS(r, i, i > 2 && planes.HOLDS(i - 2, j, 0), i + 2 <= r.nx && planes.HOLDS(i + 2, j, 0),
                   j > 2 && planes.HOLDS(i, j - 2, 0), j + 2 <= ny && planes.HOLDS(i, j + 2, 0), planes.HOLDS(i, j, -2),
                   planes.HOLDS(i, j, 2), row);
    }
}

// What one stretch of planes found; stretches are merged in z order, so that the node where
// the sum is largest is the first in array order, as one pass in memory order finds it.
struct divergence_part {
    std::int64_t nodes = 0;
    double best_sum = -1.0, best_terms = 0.0, best_error = 0.0;
    int i = 0, j = 0, k = 0;
    char error_axis = 'z';
};

// The planes k_first .. k_last (interior, in turn) of the check.
divergence_part CHECK_PLANES(const full_map& g, const component_triple& f, int k_first, int k_last) {
    const int nx = g.nx, ny = g.ny, nz = g.nz;
    axis_spans<full_capacity_x> sx;
    axis_spans<full_capacity_y> sy;
    axis_spans<full_capacity_z> sz;
    AXIS_SPANS(AXIS_COORDINATES(g, 'x'), sx);
    AXIS_SPANS(AXIS_COORDINATES(g, 'y'), sy);
    AXIS_SPANS(AXIS_COORDINATES(g, 'z'), sz);
    zero_planes planes(f, nx, ny, nz, k_first);
    divergence_part d;
    node_row row;
    for (int k = k_first; k <= k_last; ++k) {
        planes.ENTER(k);
        for (int j = 2; j < ny; ++j) {
            const row_place place{f, j, k, nx, sx, sy.span[static_cast<std::size_t>(j - 1)], sy.third[static_cast<std::size_t>(j - 1)],
                                  sz.span[static_cast<std::size_t>(k - 1)], sz.third[static_cast<std::size_t>(k - 1)]};
            if (planes.CLEAR_AROUND(j)) CLEAR_ROW(place, row);
            else ANY_ROW(place, planes, ny, row);
            for (int i = 2; i < nx; ++i) {
                const auto n = static_cast<std::size_t>(i);
                if (!row.judged[n] || !(row.terms[n] <= 1.7976931348623157e308)) continue;  // terms not finite
                ++d.nodes;
                if (row.terms[n] > d.best_terms) d.best_terms = row.terms[n];
                if (row.sum[n] > d.best_sum) {
                    d.best_sum = row.sum[n];
                    d.i = i, d.j = j, d.k = k;
                }
                const std::array<double, 3> errors{FINITE_OR_0(row.error[0][n]), FINITE_OR_0(row.error[1][n]),
                                                   FINITE_OR_0(row.error[2][n])};
                if (const double error = errors[0] + errors[1] + errors[2]; error > d.best_error) {
                    d.best_error = error;
                    d.error_axis = errors[0] >= errors[1] && errors[0] >= errors[2] ? 'x' : errors[1] >= errors[2] ? 'y' : 'z';
                }
            }
        }
    }
    (void)nz;
    return d;
}

}  // namespace

divergence_pass::divergence_pass(const full_map& map, int field) : m(map), f(FIELD_TRIPLE(map, field)) {
    usable = m.nx >= 3 && m.ny >= 3 && m.nz >= 3 && m.nx <= full_capacity_x && m.ny <= full_capacity_y &&
             m.nz <= full_capacity_z;
    stretches = usable ? (m.nz - 2 + planes_a_stretch - 1) / planes_a_stretch : 0;
    parts.resize(static_cast<std::size_t>(stretches));
}

void divergence_pass::WORK() {
    for (int s = next.fetch_add(1); s < stretches; s = next.fetch_add(1)) {
        const int k_first = 2 + s * planes_a_stretch;
        const int k_last = std::min(m.nz - 1, k_first + planes_a_stretch - 1);
        const divergence_part part = CHECK_PLANES(m, f, k_first, k_last);
        part_result& r = parts[static_cast<std::size_t>(s)];
        r = {part.nodes, part.best_sum, part.best_terms, part.best_error, part.i, part.j, part.k, part.error_axis};
    }
}

std::optional<divergence_figures> divergence_pass::RESULT() const {
    divergence_figures d;
    double best_sum = -1.0, best_terms = 0.0, best_error = 0.0;
    for (const part_result& p : parts) {  // in z order: a later stretch wins only when larger
        d.nodes += p.nodes;
        best_terms = std::max(best_terms, p.best_terms);
        if (p.best_sum > best_sum) {
            best_sum = p.best_sum;
            d.i = p.i, d.j = p.j, d.k = p.k;
        }
        if (p.best_error > best_error) {
            best_error = p.best_error;
            d.error_axis = p.error_axis;
        }
    }
    if (d.nodes == 0 || best_terms == 0.0) return std::nullopt;
    d.largest_sum = best_sum;
    d.largest_terms = best_terms;
    d.ratio = best_sum / best_terms;
    d.largest_error = best_error;
    d.resolution = best_error / best_terms;
    d.x = m.x[static_cast<std::size_t>(d.i - 1)];
    d.y = m.y[static_cast<std::size_t>(d.j - 1)];
    d.z = m.z[static_cast<std::size_t>(d.k - 1)];
    return d;
}

std::optional<divergence_figures> DIVERGENCE(const full_map& g, int field) {
    divergence_pass pass(g, field);
    pass.WORK();
    return pass.RESULT();
}

divergence_verdict DIVERGENCE_VERDICT(const divergence_figures& d) {
    if (!(d.ratio > divergence_note_threshold)) return divergence_verdict::consistent;
    return d.ratio > divergence_resolution_margin * d.resolution ? divergence_verdict::suspect : divergence_verdict::too_coarse;
}

std::string DIVERGENCE_NOTE(int field, const divergence_figures& d) {
    const divergence_verdict verdict = DIVERGENCE_VERDICT(d);
    if (verdict == divergence_verdict::consistent) return {};
    const std::string where = "the divergence of " + std::string(FIELD_ENTRY(field).component_names[0].substr(0, 1)) +
                              " reaches " + NUMBER_G(d.ratio, 2) + " of its terms at node (" + NUMBER_I(d.i) + ", " +
                              NUMBER_I(d.j) + ", " + NUMBER_I(d.k) + ") (x = " + NUMBER_G(d.x, 6) + ", y = " +
                              NUMBER_G(d.y, 6) + ", z = " + NUMBER_G(d.z, 6) + " cm)";
    if (verdict == divergence_verdict::suspect) return where + ": a component's sign, axis or unit may be wrong";
    const std::string axis(1, d.error_axis);
    return where + ", but the central differences themselves cost up to " + NUMBER_G(d.resolution, 2) +
           " on this sampling (mostly along " + axis + "): the map is too coarse along " + axis + " to judge its divergence";
}

}  // namespace orvex
