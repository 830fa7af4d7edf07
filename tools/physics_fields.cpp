// physics_fields.cpp: fields of harmonic potentials; see physics_fields.h.
#include "physics_fields.h"

#include <array>
#include <cmath>
#include <complex>
#include <numbers>

namespace orvex::mapgen {
namespace {

constexpr int series_terms = 24;
constexpr int orders = 2 * series_terms + 2;  // derivatives 0 .. 2 * terms + 1

// Adds scale x d^n/dz^n exp(-t^2 / 2), t = (z - c) / s, for n = first .. orders - 1, into d[n]
// (d^n of the Gaussian is (-1/s)^n He_n(t) exp(-t^2 / 2), He the probabilists' Hermite
// polynomials), shifted down by first: d[n] += scale x (n - first)-th derivative.
void ADD_GAUSSIAN_DERIVATIVES(std::array<double, orders>& d, double scale, double z, double c, double s, int first) {
    const double t = (z - c) / s;
    const double e = scale * std::exp(-t * t / 2.0);
    double he_prev = 0.0, he = 1.0, factor = 1.0;  // He_{m-1}, He_m, (-1/s)^m
    for (int m = 0; first + m < orders; ++m) {
        d[static_cast<std::size_t>(first + m)] += e * factor * he;
        const double next = t * he - m * he_prev;
        he_prev = he;
        he = next;
        factor *= -1.0 / s;
    }
}

// d^n/dz^n of the sum of the profiles, n = 0 .. orders - 1.
std::array<double, orders> DERIVATIVES(const axial_profile* p, int count, double z) {
    std::array<double, orders> d{};
    for (int n = 0; n < count; ++n) {
        const axial_profile& a = p[n];
        if (a.half <= 0.0) {
            ADD_GAUSSIAN_DERIVATIVES(d, a.amplitude, z, a.centre, a.width, 0);
            continue;
        }
        // a/2 [erf((z - lo)/(sqrt 2 s)) - erf((z - hi)/(sqrt 2 s))]; its derivative is
        // a/2 sqrt(2/pi)/s [gauss(z - lo) - gauss(z - hi)].
        const double lo = a.centre - a.half, hi = a.centre + a.half;
        const double root2s = std::numbers::sqrt2 * a.width;
        d[0] += a.amplitude / 2.0 * (std::erf((z - lo) / root2s) - std::erf((z - hi) / root2s));
        const double k = a.amplitude / 2.0 * std::sqrt(2.0 / std::numbers::pi) / a.width;
        ADD_GAUSSIAN_DERIVATIVES(d, k, z, lo, a.width, 1);
        ADD_GAUSSIAN_DERIVATIVES(d, -k, z, hi, a.width, 1);
    }
    return d;
}

}  // namespace

vector3 AXIAL_FIELD(const axial_profile* profiles, int count, double x, double y, double z) {
    const std::array<double, orders> d = DERIVATIVES(profiles, count, z);
    const double u = (x * x + y * y) / 4.0;  // (r/2)^2
    double fz = 0.0, fr_over_r = 0.0;
    double power = 1.0, fact_p = 1.0, fact_p1 = 1.0;  // u^p, p!, (p+1)!
    for (int p = 0; p < series_terms; ++p) {
        const double sign = p % 2 == 0 ? 1.0 : -1.0;
        fz += sign * d[static_cast<std::size_t>(2 * p)] * power / (fact_p * fact_p);
        fr_over_r -= sign * d[static_cast<std::size_t>(2 * p + 1)] * power / (2.0 * fact_p * fact_p1);
        power *= u;
        fact_p *= p + 1;
        fact_p1 *= p + 2;
    }
    return {fr_over_r * x, fr_over_r * y, fz};
}

vector3 QUADRUPOLE_FIELD(const axial_profile* profiles, int count, double x, double y, double z) {
    const std::array<double, orders> d = DERIVATIVES(profiles, count, z);
    const double r2 = x * x + y * y;
    double bx = 0.0, by = 0.0, bz = 0.0;
    double divisor = 1.0, power = 1.0, power_below = 0.0;  // prod 4q(q+2), r^2p, r^(2p-2)
    for (int p = 0; p < series_terms; ++p) {
        if (p > 0) {
            divisor *= 4.0 * p * (p + 2);
            power_below = power;
            power *= r2;
        }
        const double sign = p % 2 == 0 ? 1.0 : -1.0;
        const double a = sign * d[static_cast<std::size_t>(2 * p)] / divisor;
        const double da = sign * d[static_cast<std::size_t>(2 * p + 1)] / divisor;
        bx += a * (power + 2.0 * p * x * x * power_below);
        by += a * (power + 2.0 * p * y * y * power_below);
        bz += da * power;
    }
    return {bx * y, by * x, bz * x * y};
}

field_value MULTIPOLE_MAGNET_FIELD(const multipole_magnet& magnet, int kind, double x, double y, double z) {
    // The point in the magnet's frame: shifted to its centre, turned back by the roll.
    const double c = std::cos(magnet.roll), s = std::sin(magnet.roll);
    const double dx = x - magnet.x0, dy = y - magnet.y0;
    const std::complex<double> w((c * dx + s * dy) / magnet.radius, (-s * dx + c * dy) / magnet.radius);
    // F_v + i F_u as a sum over the harmonics there.
    const auto power = [&](int k) {
        std::complex<double> p(1.0, 0.0);
        for (int e = 1; e < k; ++e) p *= w;
        return p;
    };
    std::complex<double> sum = magnet.strength * power(magnet.order);
    for (const added_harmonic& h : magnet.added)
        sum += 1e-4 * magnet.strength * std::complex<double>(h.normal, h.skew) * power(h.n);
    double g = 1.0;
    if (magnet.half_length > 0.0) {
        // The same difference of error functions, written with erfc of |z| so that the tails
        // keep their digits instead of cancelling to 0.
        const double root2s = std::numbers::sqrt2 * magnet.rise, a = std::fabs(z);
        g = (std::erfc((a - magnet.half_length) / root2s) - std::erfc((a + magnet.half_length) / root2s)) / 2.0;
    }
    const double fu = g * sum.imag(), fv = g * sum.real();
    // The vector turned by +roll into the map's axes.
    const double fx = c * fu - s * fv, fy = s * fu + c * fv;
    field_value f;
    if (kind == 0) {
        f.ex = fx, f.ey = fy;
    } else {
        f.bx = fx, f.by = fy;
    }
    return f;
}

field_value PHYSICS_FIELD(field_model model, int kind, double x, double y, double z) {
    field_value f;
    switch (model) {
        case field_model::gaussian_gap: {
            const axial_profile gap{1000.0, 0.0, 3.0, 0.0};
            const vector3 e = AXIAL_FIELD(&gap, 1, x, y, z);
            f.ex = e.x, f.ey = e.y, f.ez = e.z;
            break;
        }
        case field_model::gaussian_solenoid: {
            const axial_profile coil{1000.0, 0.0, 3.0, 0.0};
            const vector3 b = AXIAL_FIELD(&coil, 1, x, y, z);
            f.bx = b.x, f.by = b.y, f.bz = b.z;
            break;
        }
        case field_model::quadrupole: {
            constexpr double g = 500.0, ge = 2000.0;
            f.ex = ge * x, f.ey = -ge * y;
            f.bx = g * y, f.by = g * x;
            break;
        }
        case field_model::harmonic: {
            constexpr double a = 0.3, b = 0.2, v0 = 1000.0, p0 = 1000.0;
            const double c = std::sqrt(a * a + b * b);
            const double chx = std::cosh(a * x), shx = std::sinh(a * x), chy = std::cosh(b * y), shy = std::sinh(b * y);
            const double cz = std::cos(c * z), sz = std::sin(c * z);
            f.ex = -v0 * a * shx * chy * cz;
            f.ey = -v0 * b * chx * shy * cz;
            f.ez = v0 * c * chx * chy * sz;
            if (kind == 2) {
                f.bx = p0 * a * chx * shy * sz;
                f.by = p0 * b * shx * chy * sz;
                f.bz = p0 * c * shx * shy * cz;
            } else {
                f.bx = p0 * a * shx * chy * sz;
                f.by = p0 * b * chx * shy * sz;
                f.bz = p0 * c * chx * chy * cz;
            }
            break;
        }
        case field_model::pillbox: {
            constexpr double c = 29'979'245'800.0;  // cm/s
            const double k = 2.0 * std::numbers::pi * pillbox_frequency_mhz * 1e6 / c;
            const double r = std::hypot(x, y);
            // J1(k r) / r, which tends to k / 2 on the axis.
            const double j1_over_r = r > 0.0 ? std::cyl_bessel_j(1.0, k * r) / r : k / 2.0;
            const double b_scale = pillbox_field / c * 1e8;  // Gs
            f.ez = pillbox_field * std::cyl_bessel_j(0.0, k * r);
            f.bx = b_scale * j1_over_r * y;
            f.by = -b_scale * j1_over_r * x;
            break;
        }
        default: break;
    }
    return f;
}

}  // namespace orvex::mapgen
