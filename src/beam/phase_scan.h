// phase_scan.h: the energy gain against the RF phase, the crest, the transfer matrix, and the
// check that the tracking is converged.
//
// WHAT IT IS
//   PHASE_SCAN tracks the particle at the N phases -180 + 360 k / N degrees (k = 0 .. N - 1)
//   and finds the crest, the phase of largest gain, to 1e-6 degrees: about the scan's best
//   phase, within one scan step either side, it finds the zero of g(psi + h) - g(psi - h)
//   (h = 0.01 degree; Brent's method to 1e-7 degree), where psi is the RF phase with the entry
//   clock held at the best scan track's and every track follows that track's steps, so that
//   the gain is a smooth function of psi; the crest is then psi + w t_c on the convention's
//   clock (t_c: when that particle crosses z0). Comparing gains alone cannot place a maximum
//   closer than about the square root of their rounding.
//   TRANSFER_MATRIX is the 4 x 4 matrix of (x, x', y, y') in (mm, mrad) about a tracked particle,
//   by central differences of eight rays offset by +-1 um in x and y and +-1 urad in x' and y',
//   each following the reference's steps and entry time; the focal lengths -1/R21 and -1/R43 in
//   m (R21 in mrad/mm = 1/m). HALVING_CHECK tracks again with every step halved.
//   The tracks of a scan, the two sides of a crest step and the eight rays run on all cores.
//
// HOW TO CALL IT
//   const phase_scan s = PHASE_SCAN(map, request, 360);        // request.frequency_mhz set
//   if (s.crest) use s.crest->phase_deg, s.crest->track.gain_mev;
//   const std::optional<transfer_matrix> r = TRANSFER_MATRIX(map, request, s.crest->track);
//
// ASSUMES AND LIMITS
//   As track.h; the request passed TRACK_REFUSAL. N from 1 to scan_most. A crest needs a
//   frequency and at least one particle that is not lost; the refinement is left out (the
//   best scan phase is given, refined = false) when a track near it is lost or the gain has no
//   maximum inside the bracket.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <vector>

#include "beam/track.h"

namespace orvex {

inline constexpr int scan_most = 36'000;
inline constexpr double matrix_offset_mm = 1e-3, matrix_offset_mrad = 1e-3;

struct crest_figures {
    double phase_deg = 0.0;  // in (-180, 180]
    bool refined = false;    // to 1e-6 degrees
    track_result track;      // the particle at the crest
};

struct phase_scan {
    std::vector<double> phases_deg;
    std::vector<track_result> tracks;
    std::optional<crest_figures> crest;
};

phase_scan PHASE_SCAN(const full_map& map, const track_request& request, int count);

// The crest near a phase (near: the track there), within half_width degrees either side (the
// refinement above); absent without a frequency.
std::optional<crest_figures> FIND_CREST(const full_map& map, const track_request& request, double near_deg,
                                        double half_width_deg, const track_result& near);

struct transfer_matrix {
    std::array<std::array<double, 4>, 4> r{};  // rows and columns x, x', y, y' (mm, mrad)
    std::optional<double> focal_x_m, focal_y_m;
};

// Absent when an offset ray is lost.
std::optional<transfer_matrix> TRANSFER_MATRIX(const full_map& map, const track_request& request,
                                               const track_result& reference);

// How much the gain (MeV) and the exit slopes (mrad, the larger change of x' and y') change when
// every step of the track is halved; absent for a lost particle.
struct halving_check {
    double gain_change_mev = 0.0;
    double slope_change_mrad = 0.0;
};
std::optional<halving_check> HALVING_CHECK(const full_map& map, const track_request& request, const track_result& done);

// Runs work(0) .. work(count - 1) on all cores (at most count threads).
void ON_ALL_CORES(std::size_t count, const std::function<void(std::size_t)>& work);

}  // namespace orvex
