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
//     sin(c z) for kind 1 and of sinh(a x) sinh(b y) sin(c z) for kind 2, c^2 = a^2 + b^2),
//     pillbox (an RF mode: the TM010 mode of a pillbox cavity at pillbox_frequency_mhz, whose
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

// The field of a model of this file (gaussian_gap, gaussian_solenoid, quadrupole, harmonic,
// pillbox) for a map of kind 0, 1 or 2.
field_value PHYSICS_FIELD(field_model model, int kind, double x, double y, double z);

}  // namespace orvex::mapgen
