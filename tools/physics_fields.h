// physics_fields.h: divergence-free fields with closed-form figures, for the figures' tests and
// the bundled examples.
//
// WHAT IT IS
//   Every field here is the gradient of a harmonic potential (to rounding), so its divergence
//   vanishes; each has the mirror parities of the kinds it is written for.
//   - axial_field: a field of revolution from its values on the axis, f(z), by the expansion
//       Fz = sum_p (-1)^p f^(2p)(z) (r/2)^(2p) / (p!)^2,
//       Fr = sum_p (-1)^(p+1) f^(2p+1)(z) (r/2)^(2p+1) / (p! (p+1)!),
//     whose leading terms are Fz = f, Fx = -x/2 f', Fy = -y/2 f'. The profiles are Gaussians
//     a exp(-(z - c)^2 / (2 s^2)) and the differences of two error functions
//     a/2 [erf((z + h)/(sqrt 2 s)) - erf((z - h)/(sqrt 2 s))] (a solenoid of length 2h whose
//     ends rise over about s): entire functions, so the series converges everywhere.
//   - quadrupole_field: the potential xy G(z) continued off the axis, sum over p of a_p r^(2p) xy
//     with a_0 = G, a_p = -a_(p-1)'' / (4 p (p + 2)), G a sum of Gaussians.
//   - The models of the map writer (--model): gaussian-gap (E only: Ez = 1000 V/cm x
//     exp(-z^2 / 18 cm^2) on the axis, sigma 3 cm; T(beta) = exp(-(q sigma)^2 / 2)),
//     gaussian-solenoid (B only: Bz = 1000 Gs x exp(-z^2 / 18 cm^2) on the axis; effective
//     length 2 sqrt(pi) sigma, hard-edge field 1000 / sqrt 2 Gs), quadrupole (By = G x, Bx = G y
//     with G = 500 Gs/cm, Ex = Ge x, Ey = -Ge y with Ge = 2000 V/cm^2, no z dependence),
//     harmonic (E = -grad of V0 cosh(a x) cosh(b y) cos(c z); B = grad of cosh(a x) cosh(b y)
//     sin(c z) for kind 1 and of sinh(a x) sinh(b y) sin(c z) for kind 2, c^2 = a^2 + b^2).
//   - multipole_magnet (the writer's --model multipole): a 2-D multipole field of any order
//     times a smooth envelope in z. In the magnet's own frame, centred at (x0, y0) and turned by
//     roll about z (x towards y), with u + i v = ((x - x0) + i (y - y0)) exp(-i roll):
//       F_v + i F_u = g(z) sum_k (B_k + i A_k) ((u + i v) / radius)^(k - 1),
//     B_order = strength and, for each added harmonic k, B_k + i A_k = 1e-4 strength (b_k + i a_k);
//     the vector (F_u, F_v) is then turned by +roll into (Fx, Fy). Fz = 0 and
//     g(z) = 1/2 [erf((z + h)/(sqrt 2 s)) - erf((z - h)/(sqrt 2 s))] (h the half-length, s the
//     rise; h = 0: g = 1). Every transverse 2-D multipole is free of divergence and curl, so the
//     field is free of divergence (not of curl where g changes). F is E (V/cm) for kind 0, B (Gs)
//     for the other kinds; it has no mirror parities to speak of, so it is written whole.
//   - pillbox (an RF mode: the TM010 mode of a pillbox cavity at pillbox_frequency_mhz, whose
//     end walls are the map's first and last z planes: Ez = E0 J0(k r) with E0 = 10 kV/cm,
//     k = 2 pi f / c = j01 / R, and B = B_phi phi-hat with B_phi = -(E0 / c) J1(k r) in V s/cm^2,
//     times 1e8 in Gs; E(x) cos(wt + phi) and B(x) sin(wt + phi) then satisfy Maxwell's
//     equations, curl E = -w B; no dependence on z, so it is written without a mirror in z;
//     the cavity's radius R = 8.83 cm holds a map of up to 6 cm across).
//
// HOW TO CALL IT
//   const field_value f = PHYSICS_FIELD(field_model::gaussian_gap, kind, x, y, z);
//
// ASSUMES AND LIMITS
//   The series are summed to 24 terms: to rounding for |r| up to several widths s. Units: cm,
//   V/cm, Gs.
#pragma once

#include <vector>

#include "analytic_field.h"
#include "device_fields.h"

namespace orvex::mapgen {

// The pillbox model's frequency (MHz), on-axis field (V/cm) and the first zero of J0.
inline constexpr double pillbox_frequency_mhz = 1300.0;
inline constexpr double pillbox_field = 1.0e4;
inline constexpr double bessel_j0_zero = 2.404825557695773;

// An axial profile: gaussians (a, c, s) or, with half > 0, the error-function step of a
// solenoid of half-length half centred at c.
struct axial_profile {
    double amplitude = 0.0;
    double centre = 0.0;
    double width = 1.0;
    double half = 0.0;  // 0: a Gaussian
};

// (Fx, Fy, Fz) of the field of revolution whose axial values are the sum of the profiles.
struct vector3 {
    double x = 0.0, y = 0.0, z = 0.0;
};
vector3 AXIAL_FIELD(const axial_profile* profiles, int count, double x, double y, double z);

// (Bx, By, Bz) of the quadrupole whose gradient on the axis, dBy/dx, is the sum of the Gaussian
// profiles (half is not used).
vector3 QUADRUPOLE_FIELD(const axial_profile* profiles, int count, double x, double y, double z);

// A multipole magnet, as above.
struct added_harmonic {
    int n = 6;
    double normal = 0.0, skew = 0.0;  // b_n and a_n, units of 1e-4 of strength at radius
};
struct multipole_magnet {
    int order = 2;              // 1 dipole, 2 quadrupole, 3 sextupole, ...
    double strength = 1000.0;   // B_order: Gs or V/cm
    double radius = 1.0;        // cm: the radius the strength and the units refer to
    std::vector<added_harmonic> added;
    double x0 = 0.0, y0 = 0.0;  // cm: the magnet's centre
    double roll = 0.0;          // rad, about z, x towards y
    double half_length = 10.0, rise = 2.0;  // cm: the envelope g(z); half_length 0: none
};
field_value MULTIPOLE_MAGNET_FIELD(const multipole_magnet& magnet, int kind, double x, double y, double z);

// The field of a model of this file (gaussian_gap, gaussian_solenoid, quadrupole, harmonic,
// pillbox) for a map of kind 0, 1 or 2.
field_value PHYSICS_FIELD(field_model model, int kind, double x, double y, double z);

}  // namespace orvex::mapgen
