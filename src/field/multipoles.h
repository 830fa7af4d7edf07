// multipoles.h: a magnet judged by its harmonics at a reference radius.
//
// WHAT IT IS
//   For one field F of the full map (0 electric E in V/cm, 1 magnetic B in Gs), on every z
//   plane k of the full map, with w = (x + i y) / r_ref and x, y the map's node coordinates
//   (the axis at x = y = 0), the coefficients C_n(z_k), n = 1 (dipole), 2 (quadrupole), ..., N,
//   that minimise, over the plane's nodes with x^2 + y^2 <= r_ref^2 (the disc),
//       sum |(F_y + i F_x) - sum_n C_n w^(n - 1)|^2.
//   N = 15, or the number of disc nodes of a plane halved (rounded down) when the disc holds
//   fewer than 30 (0: no multipoles). The disc's node set is the same on every plane, so the
//   least-squares problem is factored once, A = Q R with A(p, n) = w_p^(n - 1), by modified
//   Gram-Schmidt in complex arithmetic, run twice over each column (Q's columns orthonormal to
//   rounding); each plane is then C = R^-1 Q^H f.
//   The reference radius r_ref (cm) is the one asked for, or else 2/3 of the smaller transverse
//   half-width of the map, min(xmax - xmin, ymax - ymin) / 2 x 2 / 3.
//   From the planes (MULTIPOLE_FIGURES):
//   - the integrated coefficients I_n = sum over k of (C_n(z_k) + C_n(z_k+1)) / 2 (z_k+1 - z_k)
//     (the field's unit times cm), absent when a plane's coefficients are not finite;
//   - the main harmonic M, the n of largest |I_n| (the lowest of equals), absent when all are 0;
//   - b_n + i a_n = 1e4 I_n / |I_M|, in units (of 1e-4 of the main harmonic); per plane
//     b_n(z) + i a_n(z) = 1e4 C_n(z) / |C_M(z)| (absent on a plane where C_M(z) = 0);
//   - the roll angle of the main harmonic: theta = -phi / M, phi the argument of I_M taken into
//     (-pi/2, pi/2] by adding or subtracting pi; a magnet turned by theta about +z (x towards
//     y) multiplies every C_n by exp(-i n theta), so a normal magnet (I_M real) turned by
//     +1 mrad gives +1 mrad, and theta lies in [-pi/(2M), pi/(2M)) (in mrad);
//   - when M = 2 (a quadrupole): the magnetic centre x0 + i y0 = -r_ref I_1 / I_2 (cm); the
//     gradient G(z) = Re C_2(z) / r_ref (Gs/cm or V/cm^2), its integral Re I_2 / r_ref (Gs or
//     V/cm), G at the middle z plane (the node nearest (zmin + zmax) / 2, ties to the lower)
//     and the magnetic length (integral of G) / G(middle) (cm), absent when |G(middle)| is at
//     most 1e-12 of |C_2(middle)| / r_ref (0 to rounding: a skew quadrupole).
//   With F = E an upright electric quadrupole (Ex = G x, Ey = -G y, electrodes on the axes)
//   has C_2 = i G r_ref (a skew coefficient); one whose electrodes sit at 45 degrees
//   (Ex = G y, Ey = G x) has C_2 = G r_ref.
//
// HOW TO CALL IT
//   const double r = REFERENCE_RADIUS(map, request.radius_cm);       // cm
//   const multipole_planes planes = MULTIPOLE_PLANES(map, 1, r);     // planes.c[k][n - 1]
//   const multipole_figures f = MULTIPOLE_FIGURES(map, planes);
//   for (const std::string& note : MULTIPOLE_NOTES(map, f)) ...
//
// ASSUMES AND LIMITS
//   Reads only the full map it is given (the window calls it); the map is complete. r_ref is
//   finite and above 0. The disc may reach beyond the map (a radius asked for, or a map whose
//   axis is off its centre): the fit then takes the nodes the disc holds, and MULTIPOLE_NOTES
//   says so. A disc whose monomials are dependent to rounding (nodes on too few distinct
//   points) keeps the harmonics below the first dependent one. Allocates the factor (16 x 2
//   doubles per disc node) and the planes (at most 402 x 15 complex numbers).
#pragma once

#include <array>
#include <complex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "field/full_map.h"

namespace orvex {

inline constexpr int multipole_order_limit = 15;  // N when the disc holds enough nodes
inline constexpr double multipole_unit = 1e4;     // b_n and a_n are in 1e-4 of |C_M|

using harmonic_row = std::array<std::complex<double>, multipole_order_limit>;  // C_1 .. C_15

// The coefficients of every z plane of one field.
struct multipole_planes {
    int field = 1;         // 0 electric, 1 magnetic
    double r_ref = 0.0;    // cm
    int order = 0;         // N: harmonics 1..N fitted (0: none)
    int nodes = 0;         // nodes of each plane inside the disc
    int nz = 0;            // planes
    std::vector<double> z;          // their coordinates, cm
    std::vector<harmonic_row> c;    // c[k - 1][n - 1] = C_n(z_k), the field's unit
};

struct quadrupole_figures {
    std::int32_t middle_node = 0;          // the middle z plane
    double middle_z = 0.0;                 // cm
    double gradient_middle = 0.0;          // G there, Gs/cm or V/cm^2
    std::optional<double> gradient_integral;  // Gs or V/cm
    std::optional<double> magnetic_length;    // cm
};

struct multipole_figures {
    int field = 1;
    double r_ref = 0.0;
    int order = 0;
    int nodes = 0;
    bool disc_beyond_map = false;  // the disc reaches beyond the map's transverse region
    std::optional<harmonic_row> integrated;  // I_1 .. I_N (the rest 0), field unit x cm
    int main = 0;                            // M, 0 when there is none
    std::array<double, multipole_order_limit> b{}, a{};  // units, when main > 0
    std::optional<double> roll_mrad;
    std::optional<double> centre_x, centre_y;             // cm, for M = 2
    std::optional<quadrupole_figures> quadrupole;         // for M = 2
};

// The radius asked for, or 2/3 of the smaller transverse half-width of the map.
double REFERENCE_RADIUS(const full_map& m, const std::optional<double>& asked_cm);

// The coefficients of every z plane of field 0 or 1 at reference radius r_ref (cm).
multipole_planes MULTIPOLE_PLANES(const full_map& m, int field, double r_ref);

// The integrated figures of the planes.
multipole_figures MULTIPOLE_FIGURES(const full_map& m, const multipole_planes& planes);

// b_n(z_k) and a_n(z_k) (units) of plane k (1-based) relative to its C_main; absent when
// main is 0 or C_main(z_k) is 0 or not finite.
std::optional<std::complex<double>> PLANE_UNITS(const multipole_planes& planes, int k, int n, int main);

// What the figures leave unsaid, each a note without the program's prefix: a disc that holds
// fewer than 30 nodes (fewer harmonics, or none), a disc beyond the map.
std::vector<std::string> MULTIPOLE_NOTES(const full_map& m, const multipole_figures& f);

// The planes as CSV text in the program's one form (console/csv_text.h): the header
// z,n,Re_C,Im_C,b,a; '#' lines naming the map, the field, the reference radius, N, the units,
// the main harmonic and each note; then one row per plane and harmonic (z ascending, n = 1..N):
// z in cm, C_n(z) in the field's unit, b_n(z) and a_n(z) in units ("nan" where absent).
std::string MULTIPOLES_CSV(const multipole_planes& planes, const multipole_figures& f, std::string_view map_file,
                           std::span<const std::string> notes);

}  // namespace orvex
