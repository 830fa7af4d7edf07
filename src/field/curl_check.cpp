// curl_check.cpp: whether a map's E and B belong together as one RF mode (Faraday's law for
// E(x) cos(wt + phi), B(x) sin(wt + phi): curl E = -w B); see figures.h for the definition.
//
// One pass over the interior nodes in memory order (i fastest), the first node of the largest
// difference kept, so that another program following the definition names the same node.
#include <cmath>
#include <cstddef>
#include <numbers>

#include "console/number_text.h"
#include "field/figures.h"

namespace orvex {

namespace {

constexpr std::size_t stride_y = full_capacity_x;
constexpr std::size_t stride_z = std::size_t{full_capacity_x} * full_capacity_y;
constexpr double gauss_to_volt_second_per_cm2 = 1e-8;
constexpr double factor_near_minus_one = 0.1;

bool ZERO_AT(const component_triple& e, std::size_t at) {
    return (*e[0])[at] == 0.0 && (*e[1])[at] == 0.0 && (*e[2])[at] == 0.0;
}

double LENGTH(double a, double b, double c) { return std::sqrt(a * a + b * b + c * c); }

}  // namespace

std::optional<curl_figures> CURL_CHECK(const full_map& g, double frequency_mhz) {
    const int nx = g.nx, ny = g.ny, nz = g.nz;
    if (g.field_kind != 2 || !FREQUENCY_USABLE(frequency_mhz)) return std::nullopt;
    if (nx < 3 || ny < 3 || nz < 3 || nx > full_capacity_x || ny > full_capacity_y || nz > full_capacity_z)
        return std::nullopt;
    const component_triple e = FIELD_TRIPLE(g, 0);
    const component_triple b = FIELD_TRIPLE(g, 1);
    const double* ex = e[0]->data();
    const double* ey = e[1]->data();
    const double* ez = e[2]->data();
    const double w = 2.0 * std::numbers::pi * frequency_mhz * 1e6 * gauss_to_volt_second_per_cm2;  // per Gs

    curl_figures c;
    c.frequency_mhz = frequency_mhz;
    double best_difference = -1.0, best_terms = 0.0, fit_cross = 0.0, fit_square = 0.0;
    for (int k = 2; k < nz; ++k) {
        const double span_z = g.z[static_cast<std::size_t>(k)] - g.z[static_cast<std::size_t>(k - 2)];
        for (int j = 2; j < ny; ++j) {
            const double span_y = g.y[static_cast<std::size_t>(j)] - g.y[static_cast<std::size_t>(j - 2)];
            for (int i = 2; i < nx; ++i) {
                const std::size_t at = FULL_INDEX(i, j, k);
                if (ZERO_AT(e, at - 1) || ZERO_AT(e, at + 1) || ZERO_AT(e, at - stride_y) || ZERO_AT(e, at + stride_y) ||
                    ZERO_AT(e, at - stride_z) || ZERO_AT(e, at + stride_z))
                    continue;
                const double span_x = g.x[static_cast<std::size_t>(i)] - g.x[static_cast<std::size_t>(i - 2)];
                const double dez_dy = (ez[at + stride_y] - ez[at - stride_y]) / span_y;
                const double dey_dz = (ey[at + stride_z] - ey[at - stride_z]) / span_z;
                const double dex_dz = (ex[at + stride_z] - ex[at - stride_z]) / span_z;
                const double dez_dx = (ez[at + 1] - ez[at - 1]) / span_x;
                const double dey_dx = (ey[at + 1] - ey[at - 1]) / span_x;
                const double dex_dy = (ex[at + stride_y] - ex[at - stride_y]) / span_y;
                const double cx = dez_dy - dey_dz, cy = dex_dz - dez_dx, cz = dey_dx - dex_dy;
                const double wbx = w * (*b[0])[at], wby = w * (*b[1])[at], wbz = w * (*b[2])[at];
                const double difference = LENGTH(cx + wbx, cy + wby, cz + wbz);
                const double terms = LENGTH(cx, cy, cz) + LENGTH(wbx, wby, wbz);
                if (!(terms <= 1.7976931348623157e308) || !(difference <= 1.7976931348623157e308)) continue;
                ++c.nodes;
                if (terms > best_terms) best_terms = terms;
                if (difference > best_difference) {
                    best_difference = difference;
                    c.i = i, c.j = j, c.k = k;
                }
                fit_cross += wbx * cx + wby * cy + wbz * cz;
                fit_square += wbx * wbx + wby * wby + wbz * wbz;
            }
        }
    }
    if (c.nodes == 0 || best_terms == 0.0) return std::nullopt;
    c.largest_difference = best_difference;
    c.largest_terms = best_terms;
    c.ratio = best_difference / best_terms;
    if (fit_square > 0.0 && std::isfinite(fit_cross / fit_square)) c.factor = -fit_cross / fit_square;
    c.x = g.x[static_cast<std::size_t>(c.i - 1)];
    c.y = g.y[static_cast<std::size_t>(c.j - 1)];
    c.z = g.z[static_cast<std::size_t>(c.k - 1)];
    return c;
}

std::string CURL_NOTE(const curl_figures& c) {
    if (!(c.ratio > curl_note_threshold)) return {};
    std::string note = "the curl of E and -w B at " + NUMBER_G(c.frequency_mhz, 10) + " MHz differ by " + NUMBER_G(c.ratio, 2) +
                       " of their terms at node (" + NUMBER_I(c.i) + ", " + NUMBER_I(c.j) + ", " + NUMBER_I(c.k) +
                       ") (x = " + NUMBER_G(c.x, 6) + ", y = " + NUMBER_G(c.y, 6) + ", z = " + NUMBER_G(c.z, 6) + " cm)";
    if (!c.factor) return note + ": B is 0 where E curls; the map may not hold an RF mode";
    note += ": B fits -curl E / w best times " + NUMBER_G(*c.factor, 3);
    if (std::fabs(*c.factor + 1.0) <= factor_near_minus_one) return note + ": B seems stored with the other sign";
    return note + ": the frequency, a unit or a component may be wrong";
}

}  // namespace orvex
