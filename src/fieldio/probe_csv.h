// probe_csv.h: the field at a probe's points as the project's CSV form.
//
// WHAT IT IS
//   PROBE_CSV interpolates every field the map carries at each point, by one rule
//   (field/interpolate.h), and writes the table:
//
//     point,x,y,z,Ex,Ey,Ez,Bx,By,Bz
//     # plot_orvex_3dfields probe
//     # map: MW_map.bin
//     # points: circle:1,0:4
//     # interpolation: cubic (Catmull-Rom through 4 x 4 x 4 nodes)
//     # units: x, y, z in cm; Ex, Ey, Ez in V/cm; Bx, By, Bz in Gs
//     # region: x from -2 to 2, y from -2 to 2, z from -50 to 50 cm; a point outside it has nan
//     1,1,0,0,1234.5678901234567,...
//
//   point counts from 1 in the order given; x, y, z are the point's coordinates (as read: 17
//   significant digits give the same doubles back); a points file's other columns follow z,
//   their cells as probe_points.h carries them, with a note naming them; then the components of
//   the electric field (if the map carries it), then of the magnetic field, 17 significant
//   digits, "nan" for a point outside the map's region.
//
// HOW TO CALL IT
//   const probe_table t = PROBE_CSV(field_grid.full, interpolation::cubic, points, FIELD_FILE_NAME());
//   for (const std::string& piece : t.text) write piece;
//   if (t.outside > 0) note PROBE_OUTSIDE_NOTE(points, t);
//
// ASSUMES AND LIMITS
//   The map is complete. Large tables are built in a few slices side by side (at most four
//   threads), each value and row as the one-thread build makes it; the text is held in memory
//   (about 200 bytes a point with both fields), beside 8 bytes a value.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "field/full_map.h"
#include "field/interpolate.h"
#include "fieldio/probe_points.h"

namespace orvex {

struct probe_table {
    std::vector<std::string> text;  // the table in pieces, to be written one after another
    std::size_t outside = 0;        // points without a value
    std::size_t first_outside = 0;  // the first of them, 0-based (when outside > 0)
};

probe_table PROBE_CSV(const full_map& m, interpolation rule, const probe_points& points, std::string_view map_file);

// "3 of 100 points lie outside the map's region and have no value (nan); the first is point 17
// at x = 2.5, y = 0, z = 0 cm"
std::string PROBE_OUTSIDE_NOTE(const probe_points& points, const probe_table& table);

}  // namespace orvex
