// phase_scan.cpp: the scan, the crest, the transfer matrix and the halving check; see
// phase_scan.h.
#include "beam/phase_scan.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <exception>
#include <limits>
#include <thread>

namespace orvex {

namespace {

constexpr double crest_difference_deg = 0.01;  // h of g(phi + h) - g(phi - h)
constexpr double crest_tolerance_deg = 1e-7;

// A phase in (-180, 180].
double WRAPPED(double deg) {
    double w = std::remainder(deg, 360.0);
    return w <= -180.0 ? w + 360.0 : w;
}

// The zero of f between a and b, where fa and fb have opposite signs (Brent's method).
template <class F>
double BRENT_ZERO(F&& f, double a, double b, double fa, double fb, double tol) {
    double c = a, fc = fa, d = b - a, e = d;
    for (int it = 0; it < 100; ++it) {
        if ((fb > 0.0) == (fc > 0.0)) c = a, fc = fa, d = e = b - a;
        if (std::fabs(fc) < std::fabs(fb)) {
            a = b, b = c, c = a;
            fa = fb, fb = fc, fc = fa;
        }
        const double tol1 = 2.0 * std::numeric_limits<double>::epsilon() * std::fabs(b) + 0.5 * tol;
        const double xm = 0.5 * (c - b);
        if (std::fabs(xm) <= tol1 || fb == 0.0) return b;
        if (std::fabs(e) >= tol1 && std::fabs(fa) > std::fabs(fb)) {
            const double s = fb / fa;
            double p, q;
            if (a == c) {
                p = 2.0 * xm * s, q = 1.0 - s;
            } else {
                const double qa = fa / fc, r = fb / fc;
                p = s * (2.0 * xm * qa * (qa - r) - (b - a) * (r - 1.0));
                q = (qa - 1.0) * (r - 1.0) * (s - 1.0);
            }
            if (p > 0.0) q = -q;
            p = std::fabs(p);
            if (2.0 * p < std::min(3.0 * xm * q - std::fabs(tol1 * q), std::fabs(e * q))) {
                e = d, d = p / q;
            } else {
                d = xm, e = d;
            }
        } else {
            d = xm, e = d;
        }
        a = b, fa = fb;
        b += std::fabs(d) > tol1 ? d : std::copysign(tol1, xm);
        fb = f(b);
    }
    return b;
}

// Tracking that follows a plan's steps (refined), from an entry time when one is given.
track_options FOLLOWING(const std::vector<std::int32_t>& plan, std::optional<double> entry_time = std::nullopt,
                        int refinement = 1) {
    track_options o{};
    o.plan = &plan;
    o.entry_time_ns = entry_time;
    o.refinement = refinement;
    return o;
}

}  // namespace

void ON_ALL_CORES(std::size_t count, const std::function<void(std::size_t)>& work) {
    const std::size_t threads = std::min<std::size_t>(count, std::max(1u, std::thread::hardware_concurrency()));
    if (threads <= 1) {
        for (std::size_t n = 0; n < count; ++n) work(n);
        return;
    }
    std::atomic<std::size_t> next{0};
    std::exception_ptr failure;
    std::atomic<bool> failed{false};
    const auto run = [&] {
        for (std::size_t n = next++; n < count && !failed; n = next++) {
            try {
                work(n);
            } catch (...) {
                if (!failed.exchange(true)) failure = std::current_exception();
            }
        }
    };
    std::vector<std::thread> pool;
    for (std::size_t t = 1; t < threads; ++t) pool.emplace_back(run);
    run();
    for (std::thread& t : pool) t.join();
    if (failure) std::rethrow_exception(failure);
}

phase_scan PHASE_SCAN(const full_map& m, const track_request& request, int count) {
    phase_scan s;
    const std::size_t n = static_cast<std::size_t>(std::clamp(count, 1, scan_most));
    s.phases_deg.resize(n);
    s.tracks.resize(n);
    for (std::size_t k = 0; k < n; ++k) s.phases_deg[k] = -180.0 + 360.0 * static_cast<double>(k) / static_cast<double>(n);
    // Both fields unfolded before the threads read them.
    static_cast<void>(FIELD_TRIPLE(m, 0));
    static_cast<void>(FIELD_TRIPLE(m, 1));
    // Each core takes a run of neighbouring phases, each phase's search for its entry time
    // starting from the entry times of the phases before it (extrapolated).
    const std::size_t parts = std::min<std::size_t>(n, std::max(1u, std::thread::hardware_concurrency()));
    ON_ALL_CORES(parts, [&](std::size_t part) {
        const std::size_t from = n * part / parts, to = n * (part + 1) / parts;
        for (std::size_t k = from; k < to; ++k) {
            track_request r = request;
            r.phase_deg = s.phases_deg[k];
            track_options o;
            const auto known = [&](std::size_t back) { return k >= from + back && s.tracks[k - back].loss == track_loss::none; };
            const auto tau = [&](std::size_t back) { return s.tracks[k - back].entry_clock_ns; };
            if (known(1) && known(2) && known(3)) o.entry_time_guess_ns = 3.0 * tau(1) - 3.0 * tau(2) + tau(3);
            else if (known(1) && known(2)) o.entry_time_guess_ns = 2.0 * tau(1) - tau(2);
            else if (known(1)) o.entry_time_guess_ns = tau(1);
            s.tracks[k] = TRACK(m, r, o);
        }
    });
    std::optional<std::size_t> best;
    for (std::size_t k = 0; k < n; ++k)
        if (s.tracks[k].loss == track_loss::none && (!best || s.tracks[k].gain_mev > s.tracks[*best].gain_mev)) best = k;
    if (!best || !request.frequency_mhz) return s;
    s.crest = FIND_CREST(m, request, s.phases_deg[*best], 360.0 / static_cast<double>(n), s.tracks[*best]);
    if (!s.crest) s.crest = crest_figures{WRAPPED(s.phases_deg[*best]), false, s.tracks[*best]};
    return s;
}

std::optional<crest_figures> FIND_CREST(const full_map& m, const track_request& request, double near_deg,
                                        double half_width_deg, const track_result& near) {
    if (!request.frequency_mhz || near.loss != track_loss::none) return std::nullopt;
    const double half = std::min(half_width_deg, 180.0);
    // The entry clock is held at the near track's: the RF phase at entry psi then moves every
    // track's fields smoothly (no search for an entry time, no rounding of one), and the crest
    // in psi is carried over to the clock of the convention afterwards.
    std::atomic<bool> lost{false};
    const auto held = [&](double psi) {
        track_request r = request;
        r.phase_deg = psi;
        const track_result t = TRACK(m, r, FOLLOWING(near.plan, near.entry_clock_ns));
        if (t.loss != track_loss::none) lost = true;
        return t;
    };
    // g(psi + h) - g(psi - h), the two tracks side by side.
    const auto slope = [&](double psi) {
        std::array<double, 2> g{};
        ON_ALL_CORES(2, [&](std::size_t side) {
            g[side] = held(psi + (side == 0 ? crest_difference_deg : -crest_difference_deg)).gain_mev;
        });
        return g[0] - g[1];
    };
    const double a = near_deg - half, b = near_deg + half;
    const double fa = slope(a), fb = slope(b);
    if (lost || !(fa > 0.0) || !(fb < 0.0)) return std::nullopt;
    const double psi = BRENT_ZERO(slope, a, b, fa, fb, crest_tolerance_deg);
    const track_result at = held(psi);
    if (lost || !std::isfinite(at.origin_clock_ns)) return std::nullopt;
    // The particle that enters at phase psi crosses z0 at t_c: on the convention's clock its
    // phase is psi + w t_c.
    const double omega_deg = 360.0 * *request.frequency_mhz * 1e-3;  // degrees per ns
    const double phase = psi + omega_deg * at.origin_clock_ns;
    track_request r = request;
    r.phase_deg = phase;
    track_options o = FOLLOWING(near.plan);
    o.entry_time_guess_ns = near.entry_clock_ns - at.origin_clock_ns;
    crest_figures c{WRAPPED(phase), true, TRACK(m, r, o)};
    if (c.track.loss != track_loss::none) return std::nullopt;
    return c;
}

std::optional<transfer_matrix> TRANSFER_MATRIX(const full_map& m, const track_request& request, const track_result& reference) {
    if (reference.loss != track_loss::none) return std::nullopt;
    // Ray 2c + 0 is offset by +delta in coordinate c (x, x', y, y'), ray 2c + 1 by -delta.
    std::array<track_result, 8> rays;
    ON_ALL_CORES(8, [&](std::size_t n) {
        track_request r = request;
        const double sign = n % 2 == 0 ? 1.0 : -1.0;
        switch (n / 2) {
            case 0: r.x_cm += sign * matrix_offset_mm / 10.0; break;
            case 1: r.xp_mrad += sign * matrix_offset_mrad; break;
            case 2: r.y_cm += sign * matrix_offset_mm / 10.0; break;
            default: r.yp_mrad += sign * matrix_offset_mrad; break;
        }
        rays[n] = TRACK(m, r, FOLLOWING(reference.plan, reference.entry_clock_ns));
    });
    transfer_matrix t;
    for (std::size_t c = 0; c < 4; ++c) {
        const track_point &plus = rays[2 * c].last, &minus = rays[2 * c + 1].last;
        if (rays[2 * c].loss != track_loss::none || rays[2 * c + 1].loss != track_loss::none) return std::nullopt;
        const double delta = 2.0 * (c % 2 == 0 ? matrix_offset_mm : matrix_offset_mrad);
        t.r[0][c] = 10.0 * (plus.x - minus.x) / delta;
        t.r[1][c] = (plus.xp - minus.xp) / delta;
        t.r[2][c] = 10.0 * (plus.y - minus.y) / delta;
        t.r[3][c] = (plus.yp - minus.yp) / delta;
    }
    if (t.r[1][0] != 0.0 && std::isfinite(-1.0 / t.r[1][0])) t.focal_x_m = -1.0 / t.r[1][0];
    if (t.r[3][2] != 0.0 && std::isfinite(-1.0 / t.r[3][2])) t.focal_y_m = -1.0 / t.r[3][2];
    return t;
}

std::optional<halving_check> HALVING_CHECK(const full_map& m, const track_request& request, const track_result& done) {
    if (done.loss != track_loss::none) return std::nullopt;
    const track_result fine = TRACK(m, request, FOLLOWING(done.plan, done.entry_clock_ns, 2));
    if (fine.loss != track_loss::none) return std::nullopt;
    return halving_check{std::fabs(fine.gain_mev - done.gain_mev),
                         std::max(std::fabs(fine.last.xp - done.last.xp), std::fabs(fine.last.yp - done.last.yp))};
}

}  // namespace orvex
