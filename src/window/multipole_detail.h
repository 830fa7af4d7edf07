// multipole_detail.h: one harmonic of a field along z, in a detail window.
//
// WHAT IT IS
//   OPEN_MULTIPOLE_DETAIL fits the field's multipoles on every z plane of the full map at the
//   reference radius (field/multipoles.h) and opens a detail window (detail_window.h) on three
//   curves of harmonic n over z: b_n(z) and a_n(z), in units of 1e-4 of the plane's own main
//   harmonic |C_M(z)| (M the main harmonic of the integrated coefficients), both shown, and
//   c_n(z) = |b_n(z) + i a_n(z)| at hand in its View menu. A plane where C_M(z) is 0 breaks
//   the curves. The window is captioned "b3, a3 (units) — Z (cm), magnetic multipoles at
//   r_ref = 1.33333 cm"; hover, zoom and File > Export Profile work as for a line of the page
//   (the CSV's x and y are the axis, 0 and 0).
//
// HOW TO CALL IT
//   QWidget* w = OPEN_MULTIPOLE_DETAIL(map, 1, r_ref, 6, map_file, parent);  // b6(z), a6(z)
//
// ASSUMES AND LIMITS
//   map is complete. Null (and no window) when the field has no main harmonic or n is not
//   among the harmonics fitted at r_ref. The fit takes a few ms on the largest map.
#pragma once

#include <string_view>

class QWidget;

namespace orvex {

struct full_map;

QWidget* OPEN_MULTIPOLE_DETAIL(const full_map& map, int field, double r_ref, int n, std::string_view map_file,
                               QWidget* parent);

}  // namespace orvex
