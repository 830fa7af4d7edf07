// figures.h: the numbers a map is judged by, computed from its unfolded full grid.
//
// WHAT IT IS
//   For one field (0 electric Ex, Ey, Ez in V/cm; 1 magnetic Bx, By, Bz in Gs), over the nodes
//   of the full map at its coordinates (full_map.h: node i at (i - 1) dx + xmin, the step
//   (xmax - xmin) / (nx - 1), as the page places them), each line cut by the one line sampler
//   (node_lines.h):
//   - on each of the ten lines and for each component: the smallest and the largest value with
//     the first node (1-based along the line) that holds it and its position, and the integral
//     by the trapezoid rule over the line's nodes, sum over k of (F(k) + F(k+1)) / 2 x
//     (s(k+1) - s(k)) (the field's unit times cm);
//   - on the z axis (line 3), electric field: V0 = integral of Ez dz (V); given a frequency f
//     (MHz) and a velocity beta, with q = 2 pi f / (beta c), c = 29,979,245,800 cm/s, the
//     trapezoid weights w(k) of the axis nodes and the RF clock's origin z0 (RF_TIME_ORIGIN),
//     S = sum of w(k) Ez(z_k) exp(i q (z_k - z0)): the gain V(beta) = |S| (V), the crest phase
//     phi_crest = -arg S (degrees; a particle of that beta gains V(beta) cos(phi - phi_crest)
//     at RF phase phi), the transit-time factor T = |S| / sum of w(k) |Ez(z_k)| and the
//     single-gap transit-time factor V(beta) / |V0| (absent when V0 is 0, which it is taken to
//     be when |V0| <= 1e-12 sum of w(k) |Ez(z_k)|: a sum that cancels to rounding); and the beta
//     in [0.001, 1] where V(beta) is largest,
//     among the betas whose wavelength spans at least two node steps (q dz <= pi; beyond, the
//     node sum aliases: at q dz = 2 pi every node is in phase and the sum is V0 again);
//   - on the z axis, magnetic field: the integrals of Bz dz (Gs cm) and Bz^2 dz (Gs^2 cm), the
//     effective length (integral Bz)^2 / integral Bz^2 (cm) and the hard-edge field
//     integral Bz^2 / integral Bz (Gs);
//   - the gradient on the z axis, dEx/dx (V/cm^2) or dBy/dx (Gs/cm), by the central difference
//     over the two x nodes beside the axis: its value of largest magnitude with its node and z,
//     and its integral over z (trapezoid; V/cm or Gs);
//   - the divergence check (DIVERGENCE): on every interior node the three central differences
//     dFx/dx, dFy/dy, dFz/dz; D = (largest |sum|) / (largest |dFx/dx| + |dFy/dy| + |dFz/dz|),
//     with the node where the sum is largest (the first in array order, i fastest). Left out
//     are the nodes with one of their six neighbours at which all three components are exactly
//     0 (inside an electrode, outside the solved region: neighbour_rule.h) and nodes whose terms
//     are not finite. What the differences themselves cost: a central difference over the span
//     s = c(n+1) - c(n-1) errs by about h^2/6 times the third derivative (h = s/2), estimated on
//     each taken node and axis from the third difference of the component along that axis,
//     T = (F(n+2) - 2F(n+1) + 2F(n-1) - F(n-2)) / 2 when nodes n-2 and n+2 are in the grid and
//     hold a field, else T = F(n+2) - 3F(n+1) + 3F(n) - F(n-1) when n+2 does, else
//     T = F(n+1) - 3F(n) + 3F(n-1) - F(n-2) when n-2 does, else no estimate (0), as
//     e = |T| / (3 s); R = (largest ex + ey + ez) / (largest |terms| as in D), with the axis of
//     the largest of the three at that node (a non-finite estimate counts 0). D above 0.05 and
//     above 2 R blames a sign, an axis or a unit; D above 0.05 but at most 2 R says the sampling
//     is too coarse to judge.
//   - the multipoles at a reference radius (multipoles.h): the integrated harmonics, the main
//     one, b_n and a_n, the roll, and for a quadrupole its centre, gradient and magnetic length;
//     r_ref is request.radius_cm or 2/3 of the smaller transverse half-width of the map.
//   - the curl check (CURL_CHECK), for a map that carries both fields, given a frequency: on the
//     interior nodes the divergence check takes for E, curl E by the same central differences
//     and w B with w = 2 pi f and B in V s/cm^2 (B[Gs] x 1e-8); C = (largest |curl E + w B|) /
//     (largest |curl E| + w |B|) (Euclidean lengths), the node where the numerator is largest,
//     and the factor k = -sum(w B . curl E) / sum |w B|^2 that fits k B best to -curl E / w in
//     the least-squares sense (1 for a map whose fields belong together, -1 for a B stored with
//     the other sign).
//   A figure that cannot be formed is absent (std::nullopt), never NaN: an integral over a line
//   that holds a value that is not finite, a ratio whose denominator is 0, a phase of a sum of 0.
//
// HOW TO CALL IT
//   figure_request request;  request.frequency_mhz = 352.2;  request.beta = 0.08;
//   const field_figures e = COMPUTE_FIGURES(map, 0, request);
//   const map_figures all = MAP_FIGURES(map, request, field);   // the fields and their notes
//   if (!FREQUENCY_USABLE(mhz)) refuse with frequency_rule;
//
// ASSUMES AND LIMITS
//   Reads only the full map it is given (never the run's own record): the window calls it. The
//   map is complete (counts 1..50 across, 1..402 along z, as the unfolding gives). Results are
//   the same on every call (no state). Nothing is allocated but the scan of the best-beta
//   search (at most 800 KB), the multipoles' factor and planes (multipoles.h), the figures' list
//   and the notes' texts.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "field/full_map.h"
#include "field/multipoles.h"
#include "field/profiles.h"

namespace orvex {

inline constexpr double light_speed_cm_per_s = 29'979'245'800.0;
inline constexpr double best_beta_low = 0.001, best_beta_high = 1.0;
inline constexpr double divergence_note_threshold = 0.05;
inline constexpr double divergence_resolution_margin = 2.0;
inline constexpr double curl_note_threshold = 0.05;

// What the figures are asked for beyond the grid: the RF figures need a frequency, the figures
// at one velocity a beta too.
struct figure_request {
    std::optional<double> frequency_mhz;
    std::optional<double> beta;
    bool find_best = true;  // with a frequency: search the best beta too
    std::optional<double> radius_cm{};  // the multipoles' reference radius; absent: the map's 2/3
};

struct extreme_value {
    double value = 0.0;
    std::int32_t node = 0;  // 1-based along the line
    double position = 0.0;  // cm
};

struct component_figures {
    std::optional<extreme_value> smallest, largest;  // over the finite values
    std::optional<double> integral;                  // field unit x cm
};

struct line_figures {
    std::int32_t count = 0;  // nodes on the line
    std::array<component_figures, 3> components;
};

// The RF figures at one beta.
struct rf_figures {
    double beta = 0.0;
    double wavenumber = 0.0;            // q, 1/cm
    double gain = 0.0;                  // V(beta), V
    std::optional<double> crest_phase;  // -arg S, degrees, in (-180, 180]
    std::optional<double> transit_time; // T(beta)
    std::optional<double> single_gap_transit_time;  // V(beta) / |V0|
};

struct gradient_figures {
    double largest = 0.0;      // the value of largest magnitude, V/cm^2 or Gs/cm
    std::int32_t node = 0;     // its node along z
    double z = 0.0;            // cm
    std::optional<double> integral;  // V/cm or Gs
};

struct divergence_figures {
    double ratio = 0.0;                 // D, 0..1
    std::int32_t i = 0, j = 0, k = 0;   // where the sum is largest, full-grid node
    double x = 0.0, y = 0.0, z = 0.0;   // cm
    double largest_sum = 0.0;           // numerator (field unit per cm)
    double largest_terms = 0.0;         // denominator
    std::int64_t nodes = 0;             // interior nodes taken
    double resolution = 0.0;            // R: largest_error / largest_terms
    double largest_error = 0.0;         // the differences' own error where it is largest (field unit per cm)
    char error_axis = 'z';              // the axis whose difference errs most there
};

// What the divergence figure says of the map: nothing to note (D at most
// divergence_note_threshold), a sampling too coarse to judge (D at most
// divergence_resolution_margin x R), or a fault to look for (a sign, an axis or a unit).
enum class divergence_verdict { consistent, too_coarse, suspect };
// The curl check of a map's two fields at one frequency.
struct curl_figures {
    double frequency_mhz = 0.0;
    double ratio = 0.0;                 // C, 0..1
    std::int32_t i = 0, j = 0, k = 0;   // where |curl E + w B| is largest, full-grid node
    double x = 0.0, y = 0.0, z = 0.0;   // cm
    double largest_difference = 0.0;    // numerator, V/cm^2
    double largest_terms = 0.0;         // denominator, V/cm^2
    std::optional<double> factor;       // k; absent when B is 0 on every node taken
    std::int64_t nodes = 0;             // interior nodes taken
};

struct field_figures {
    int field = 0;  // 0 electric, 1 magnetic
    std::array<line_figures, line_count> lines;
    // Electric field on the z axis.
    std::optional<double> axial_voltage;   // V0, V
    std::optional<rf_figures> at_beta;     // at the requested beta
    std::optional<rf_figures> best;        // at the beta of largest gain
    // Magnetic field on the z axis.
    std::optional<double> bz_integral, bz2_integral, effective_length, hard_edge_field;
    std::optional<gradient_figures> gradient;
    std::optional<divergence_figures> divergence;
    std::optional<multipole_figures> multipoles;
};

// Every figure of one field (0 electric, 1 magnetic) of the map.
field_figures COMPUTE_FIGURES(const full_map& map, int field, const figure_request& request);

// The figures of a map as the command line and the window give them: both fields of a map that
// carries both, else the field asked for (line 5's), the curl check of a map that carries both
// when a frequency is given, with the notes they raise (the divergence note of each field, in
// field order, then the multipoles' notes of each, then the curl note), without the program's
// prefix.
struct map_figures {
    std::vector<field_figures> fields;
    std::optional<curl_figures> curl;  // a map that carries both fields, given a frequency
    std::vector<std::string> notes;
};
map_figures MAP_FIGURES(const full_map& map, const figure_request& request, int asked_field);

// The divergence check of one field alone (what a plotting run notes).
std::optional<divergence_figures> DIVERGENCE(const full_map& map, int field);

// The same check shared out among threads: every thread that calls WORK takes stretches of z
// planes until none is left; RESULT, once every WORK has returned, is DIVERGENCE's, to the bit
// (the stretches are merged in z order). The field is unfolded when the pass is made.
class divergence_pass {
public:
    divergence_pass(const full_map& map, int field);
    void WORK();
    std::optional<divergence_figures> RESULT() const;

private:
    static constexpr int planes_a_stretch = 16;
    struct part_result {
        std::int64_t nodes = 0;
        double best_sum = -1.0, best_terms = 0.0, best_error = 0.0;
        int i = 0, j = 0, k = 0;
        char error_axis = 'z';
    };
    const full_map& m;
    component_triple f;
    bool usable = false;
    int stretches = 0;
    std::atomic<int> next{0};
    std::vector<part_result> parts;
};

// The RF figures of the electric field on the z axis (line 3) at one beta (0 < beta), or absent
// when the axis is not there.
std::optional<rf_figures> RF_AT_BETA(const full_map& map, double frequency_mhz, double beta);

// Where the RF clock starts: t = 0 when a particle crosses z = 0, or the map's middle z plane
// when z = 0 lies outside the map (the middle node for an odd count of z nodes, else halfway
// between the two middle nodes). The figures' phases and the tracking (beam/) share it.
double RF_TIME_ORIGIN(const full_map& map);

// The curl check of a map that carries both fields, at a frequency (MHz); absent when the map
// does not carry both, has no interior node, or every term is 0.
std::optional<curl_figures> CURL_CHECK(const full_map& map, double frequency_mhz);

// The note a curl figure above curl_note_threshold raises, without the program's prefix;
// "" at or below it. It names the node and the factor k, and when k is near -1 (within 0.1)
// says that B seems stored with the other sign.
std::string CURL_NOTE(const curl_figures& c);

divergence_verdict DIVERGENCE_VERDICT(const divergence_figures& d);

// The note a divergence figure raises, without the program's prefix: "" when it is consistent;
// when suspect "the divergence of B reaches 0.36 of its terms at node (2, 2, 271) (x = -1.4,
// y = -1.4, z = 24 cm): a component's sign, axis or unit may be wrong"; when too coarse "the
// divergence of E reaches 0.095 of its terms at node (...) (...), but the central differences
// themselves cost up to 0.076 on this sampling (mostly along z): the map is too coarse along z
// to judge its divergence".
std::string DIVERGENCE_NOTE(int field, const divergence_figures& d);

// The one rule for a frequency (MHz): a number above 0 whose value in Hz is finite; and for a
// velocity over c: above 0 and at most 1. The command line and the window check them here and
// say the same: "--frequency " + frequency_rule, "The frequency " + frequency_rule.
inline constexpr std::string_view frequency_rule = "needs a positive number of MHz";
inline constexpr std::string_view beta_rule = "takes a velocity over c above 0 and at most 1";
bool FREQUENCY_USABLE(double frequency_mhz);
bool BETA_USABLE(double beta);
// And for the multipoles' reference radius (cm): a finite number above 0.
inline constexpr std::string_view radius_rule = "needs a positive number of cm";
bool RADIUS_USABLE(double radius_cm);

}  // namespace orvex
