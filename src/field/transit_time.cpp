// transit_time.cpp: the energy gain and transit-time factor of the electric field on the z
// axis at one beta, and the beta of largest gain.
//
// The gain at one beta is summed directly, node by node, as figures.h defines it. The search
// for the best beta scans the gain on an even grid of wavenumbers q = 2 pi f / (beta c), eight
// samples to the shortest period 2 pi / (zmax - zmin) on which the gain of a field that fills
// the axis can change (the scan's phases by rotation, which is exact to a few units of
// rounding over 401 nodes), then refines the four best local maxima of the scan by
// golden-section search on beta to 1e-10 and keeps the best of them. Betas so small that the
// wavelength beta c / f spans less than two node steps are not searched (the node sum aliases
// there). The scan holds at most
// 100,000 wavenumbers (a frequency above some 10 GHz on a 100 cm axis samples more coarsely).
#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <numbers>
#include <vector>

#include "field/figures_axis.h"

namespace orvex {

namespace {

constexpr double mega = 1.0e6;
constexpr int scan_per_period = 8;
constexpr long long scan_most = 100'000, scan_least = 64;
constexpr int candidates = 4;
constexpr double beta_tolerance = 1e-10;

// The trapezoid weights of the axis nodes times Ez, and whether every value is finite.
struct weighted_axis {
    line_samples s;
    std::array<double, full_capacity_z> a{};  // w(k) Ez(z_k)
    double absolute = 0.0;                   // sum of w(k) |Ez(z_k)|
    double axial_voltage = 0.0;              // V0, the trapezoid integral of Ez as the lines take it
    double origin = 0.0;                     // z0 of the RF clock
    bool usable = false;
};

weighted_axis WEIGHT_AXIS(const full_map& m) {
    weighted_axis w;
    SAMPLE_AXIS(m, 0, w.s);
    const int n = w.s.n;
    if (n < 1) return w;
    const double* z = w.s.pos.data();
    const double* ez = w.s.val[2].data();
    for (int k = 0; k < n; ++k) {
        if (!std::isfinite(ez[k])) return w;
        const double left = k > 0 ? (z[k] - z[k - 1]) / 2.0 : 0.0;
        const double right = k + 1 < n ? (z[k + 1] - z[k]) / 2.0 : 0.0;
        const double weight = left + right;
        w.a[static_cast<std::size_t>(k)] = weight * ez[k];
        w.absolute += weight * std::fabs(ez[k]);
    }
    w.axial_voltage = TRAPEZOID(z, ez, n);
    w.origin = RF_TIME_ORIGIN(m);
    w.usable = true;
    return w;
}

double WAVENUMBER(double frequency_mhz, double beta) {
    return 2.0 * std::numbers::pi * frequency_mhz * mega / (beta * light_speed_cm_per_s);
}
double BETA_OF(double frequency_mhz, double q) {
    return 2.0 * std::numbers::pi * frequency_mhz * mega / (q * light_speed_cm_per_s);
}

// The figures at one beta, summed directly.
rf_figures AT_BETA(const weighted_axis& w, double frequency_mhz, double beta) {
    rf_figures r;
    r.beta = beta;
    r.wavenumber = WAVENUMBER(frequency_mhz, beta);
    double re = 0.0, im = 0.0;
    for (int k = 0; k < w.s.n; ++k) {
        const double phase = r.wavenumber * (w.s.pos[static_cast<std::size_t>(k)] - w.origin);
        re += w.a[static_cast<std::size_t>(k)] * std::cos(phase);
        im += w.a[static_cast<std::size_t>(k)] * std::sin(phase);
    }
    r.gain = std::hypot(re, im);
    if (r.gain > 0.0) {
        // The crest -arg S, in (-180, 180].
        const double crest = -std::atan2(im, re) * 180.0 / std::numbers::pi;
        r.crest_phase = crest <= -180.0 ? 180.0 : crest;
    }
    if (w.absolute > 0.0) r.transit_time = r.gain / w.absolute;
    if (std::fabs(w.axial_voltage) > 1e-12 * w.absolute) r.single_gap_transit_time = r.gain / std::fabs(w.axial_voltage);
    return r;
}

// The gain at wavenumber q with the phases by rotation from the first node (the scan only).
double SCAN_GAIN(const weighted_axis& w, double q) {
    const double z0 = w.s.pos[0];
    const double dz = w.s.n > 1 ? (w.s.pos[static_cast<std::size_t>(w.s.n - 1)] - z0) / (w.s.n - 1) : 0.0;
    const double step_re = std::cos(q * dz), step_im = std::sin(q * dz);
    double ph_re = std::cos(q * z0), ph_im = std::sin(q * z0);
    double re = 0.0, im = 0.0;
    for (int k = 0; k < w.s.n; ++k) {
        const double a = w.a[static_cast<std::size_t>(k)];
        re += a * ph_re;
        im += a * ph_im;
        const double next_re = ph_re * step_re - ph_im * step_im;
        ph_im = ph_re * step_im + ph_im * step_re;
        ph_re = next_re;
    }
    return std::hypot(re, im);
}

// Golden-section search for the largest gain with beta in [lo, hi].
rf_figures REFINE(const weighted_axis& w, double frequency_mhz, double lo, double hi) {
    const double ratio = (std::sqrt(5.0) - 1.0) / 2.0;
    double c = hi - ratio * (hi - lo), d = lo + ratio * (hi - lo);
    double gc = AT_BETA(w, frequency_mhz, c).gain, gd = AT_BETA(w, frequency_mhz, d).gain;
    for (int it = 0; it < 200 && hi - lo > beta_tolerance; ++it) {
        if (gc >= gd) {
            hi = d, d = c, gd = gc;
            c = hi - ratio * (hi - lo);
            gc = AT_BETA(w, frequency_mhz, c).gain;
        } else {
            lo = c, c = d, gc = gd;
            d = lo + ratio * (hi - lo);
            gd = AT_BETA(w, frequency_mhz, d).gain;
        }
    }
    // The ends of the range are candidates of their own: a gain that rises up to beta = 1.
    rf_figures best = AT_BETA(w, frequency_mhz, (lo + hi) / 2.0);
    for (const double end : {lo, hi}) {
        const rf_figures at = AT_BETA(w, frequency_mhz, end);
        if (at.gain > best.gain) best = at;
    }
    return best;
}

}  // namespace

double RF_TIME_ORIGIN(const full_map& m) {
    const int n = std::min(m.nz, full_capacity_z);
    if (n < 1) return 0.0;
    const double first = m.z[0], last = m.z[static_cast<std::size_t>(n - 1)];
    if (first <= 0.0 && last >= 0.0) return 0.0;
    const auto middle = static_cast<std::size_t>((n - 1) / 2);
    return n % 2 == 1 ? m.z[middle] : (m.z[middle] + m.z[middle + 1]) / 2.0;
}

std::optional<rf_figures> RF_AT_BETA(const full_map& m, double frequency_mhz, double beta) {
    const weighted_axis w = WEIGHT_AXIS(m);
    if (!w.usable || !(beta > 0.0) || !(frequency_mhz > 0.0)) return std::nullopt;
    return AT_BETA(w, frequency_mhz, beta);
}

std::optional<rf_figures> BEST_BETA(const full_map& m, double frequency_mhz) {
    const weighted_axis w = WEIGHT_AXIS(m);
    if (!w.usable || w.absolute == 0.0 || !(frequency_mhz > 0.0)) return std::nullopt;
    const double extent = w.s.pos[static_cast<std::size_t>(w.s.n - 1)] - w.s.pos[0];
    // Beyond two nodes a wavelength (q dz > pi) the node sum aliases: at q dz = 2 pi every
    // node is in phase again and the sum is V0 whatever the field. The search stops there.
    const double nyquist = w.s.n > 1 ? std::numbers::pi * (w.s.n - 1) / extent : WAVENUMBER(frequency_mhz, best_beta_low);
    const double q_lo = WAVENUMBER(frequency_mhz, best_beta_high);
    const double q_hi = std::min(WAVENUMBER(frequency_mhz, best_beta_low), nyquist);
    if (!(q_hi > q_lo)) return std::nullopt;
    const double beta_floor = std::max(best_beta_low, BETA_OF(frequency_mhz, q_hi));
    const double spacing = 2.0 * std::numbers::pi / (scan_per_period * std::max(extent, 1e-300));
    const double wanted = std::ceil((q_hi - q_lo) / spacing) + 1.0;
    const long long count = std::clamp(std::isfinite(wanted) ? static_cast<long long>(std::min(wanted, 1e12)) : scan_most,
                                       scan_least, scan_most);
    std::vector<double> gain(static_cast<std::size_t>(count));
    const auto q_of = [&](long long m) { return q_lo + (q_hi - q_lo) * static_cast<double>(m) / static_cast<double>(count - 1); };
    for (long long m = 0; m < count; ++m) gain[static_cast<std::size_t>(m)] = SCAN_GAIN(w, q_of(m));

    // The local maxima of the scan, best first.
    std::vector<long long> peaks;
    for (long long m = 0; m < count; ++m) {
        const double here = gain[static_cast<std::size_t>(m)];
        const bool left = m == 0 || here >= gain[static_cast<std::size_t>(m - 1)];
        const bool right = m + 1 == count || here >= gain[static_cast<std::size_t>(m + 1)];
        if (left && right) peaks.push_back(m);
    }
    const auto by_gain = [&](long long a, long long b) { return gain[static_cast<std::size_t>(a)] > gain[static_cast<std::size_t>(b)]; };
    const std::size_t kept = std::min<std::size_t>(peaks.size(), candidates);
    std::partial_sort(peaks.begin(), peaks.begin() + static_cast<std::ptrdiff_t>(kept), peaks.end(), by_gain);

    std::optional<rf_figures> best;
    for (std::size_t c = 0; c < kept; ++c) {
        const long long m = peaks[c];
        // beta falls as q rises: the bracket's low beta is at the next wavenumber.
        const double beta_lo = m + 1 < count ? BETA_OF(frequency_mhz, q_of(m + 1)) : beta_floor;
        const double beta_hi = m > 0 ? BETA_OF(frequency_mhz, q_of(m - 1)) : best_beta_high;
        const rf_figures at = REFINE(w, frequency_mhz, std::max(beta_lo, beta_floor), std::min(beta_hi, best_beta_high));
        if (!best || at.gain > best->gain) best = at;
    }
    if (best && best->gain == 0.0) return std::nullopt;
    return best;
}

}  // namespace orvex
