// divergence.cpp: the divergence check of one field over the interior nodes of the full grid;
// see figures.h for its definition.
//
// One pass over the grid in memory order. Which nodes hold a field of exactly 0 (all three
// components) is kept for three planes of z at a time, each plane marked once, just before the
// pass needs it, while its values are still in the cache: the grid is read about once.
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <span>

#include "console/number_text.h"
#include "field/field_table.h"
#include "field/figures_axis.h"

namespace orvex {

namespace {

constexpr std::size_t plane_size = std::size_t{full_capacity_x} * full_capacity_y;
constexpr std::size_t stride_y = full_capacity_x;
constexpr std::size_t stride_z = plane_size;

using plane_mask = std::array<std::uint8_t, plane_size>;

// Marks the nodes of plane k at which the three components are all exactly 0.
void MARK_ZEROS(const component_triple& f, int nx, int ny, int k, plane_mask& mask) {
    const std::size_t base = FULL_INDEX(1, 1, k);
    for (int j = 0; j < ny; ++j)
        for (int i = 0; i < nx; ++i) {
            const std::size_t p = static_cast<std::size_t>(j) * stride_y + static_cast<std::size_t>(i);
            mask[p] = (*f[0])[base + p] == 0.0 && (*f[1])[base + p] == 0.0 && (*f[2])[base + p] == 0.0;
        }
}

// The spans over two steps c(n + 1) - c(n - 1) at each interior node of an axis.
template <std::size_t capacity>
void AXIS_SPANS(std::span<const double> coord, std::array<double, capacity>& span) {
    for (std::size_t n = 1; n + 1 < coord.size(); ++n) span[n] = coord[n + 1] - coord[n - 1];
}

}  // namespace

std::optional<divergence_figures> DIVERGENCE(const full_map& g, int field) {
    const int nx = g.nx, ny = g.ny, nz = g.nz;
    if (nx < 3 || ny < 3 || nz < 3 || nx > full_capacity_x || ny > full_capacity_y || nz > full_capacity_z)
        return std::nullopt;
    const component_triple f = FIELD_TRIPLE(g, field);
    std::array<double, full_capacity_x> sx{};
    std::array<double, full_capacity_y> sy{};
    std::array<double, full_capacity_z> sz{};
    AXIS_SPANS(AXIS_COORDINATES(g, 'x'), sx);
    AXIS_SPANS(AXIS_COORDINATES(g, 'y'), sy);
    AXIS_SPANS(AXIS_COORDINATES(g, 'z'), sz);

    // Masks of planes k - 1, k, k + 1, rotated as k advances.
    std::array<plane_mask, 3> masks;
    MARK_ZEROS(f, nx, ny, 1, masks[0]);
    MARK_ZEROS(f, nx, ny, 2, masks[1]);
    const double* fx = f[0]->data();
    const double* fy = f[1]->data();
    const double* fz = f[2]->data();

    divergence_figures d;
    double best_sum = -1.0, best_terms = 0.0;
    for (int k = 2; k < nz; ++k) {
        const plane_mask& below = masks[static_cast<std::size_t>((k - 2) % 3)];
        const plane_mask& here = masks[static_cast<std::size_t>((k - 1) % 3)];
        plane_mask& above = masks[static_cast<std::size_t>(k % 3)];
        MARK_ZEROS(f, nx, ny, k + 1, above);
        const double span_z = sz[static_cast<std::size_t>(k - 1)];
        for (int j = 2; j < ny; ++j) {
            const double span_y = sy[static_cast<std::size_t>(j - 1)];
            const std::size_t row = static_cast<std::size_t>(j - 1) * stride_y;
            for (int i = 2; i < nx; ++i) {
                const std::size_t p = row + static_cast<std::size_t>(i - 1);
                if (here[p - 1] | here[p + 1] | here[p - stride_y] | here[p + stride_y] | below[p] | above[p]) continue;
                const std::size_t at = FULL_INDEX(i, j, k);
                const double tx = (fx[at + 1] - fx[at - 1]) / sx[static_cast<std::size_t>(i - 1)];
                const double ty = (fy[at + stride_y] - fy[at - stride_y]) / span_y;
                const double tz = (fz[at + stride_z] - fz[at - stride_z]) / span_z;
                const double sum = std::fabs(tx + ty + tz);
                const double terms = std::fabs(tx) + std::fabs(ty) + std::fabs(tz);
                if (!(terms <= 1.7976931348623157e308)) continue;  // not finite (NaN or infinite)
                ++d.nodes;
                if (terms > best_terms) best_terms = terms;
                if (sum > best_sum) {
                    best_sum = sum;
                    d.i = i, d.j = j, d.k = k;
                }
            }
        }
    }
    if (d.nodes == 0 || best_terms == 0.0) return std::nullopt;
    d.largest_sum = best_sum;
    d.largest_terms = best_terms;
    d.ratio = best_sum / best_terms;
    d.x = g.x[static_cast<std::size_t>(d.i - 1)];
    d.y = g.y[static_cast<std::size_t>(d.j - 1)];
    d.z = g.z[static_cast<std::size_t>(d.k - 1)];
    return d;
}

std::string DIVERGENCE_NOTE(int field, const divergence_figures& d) {
    if (!(d.ratio > divergence_note_threshold)) return {};
    return "the divergence of " + std::string(FIELD_ENTRY(field).component_names[0].substr(0, 1)) + " reaches " +
           NUMBER_G(d.ratio, 2) + " of its terms at node (" + NUMBER_I(d.i) + ", " + NUMBER_I(d.j) + ", " +
           NUMBER_I(d.k) + ") (x = " + NUMBER_G(d.x, 6) + ", y = " + NUMBER_G(d.y, 6) + ", z = " + NUMBER_G(d.z, 6) +
           " cm): a component's sign, axis or unit may be wrong";
}

}  // namespace orvex
