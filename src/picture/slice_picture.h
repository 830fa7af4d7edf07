// slice_picture.h: the slice window's picture without the window: one quantity on one node
// plane as coloured cells, its axes, its colour bar and its title, as a scene (scene.h).
//
// WHAT IT IS
//   SHOW_SLICE takes a slice of the full map (field/slices.h) as it is shown: its values, one
//   cell per node (nothing interpolated), each coloured by its value: a signed quantity by the
//   diverging map centred on zero, its ends at -m and m (m the largest magnitude on the plane;
//   1 when all are 0), the magnitude by the sequential map from the plane's least to its
//   largest value; a value that is not a number grey (150, 150, 150). The plane's extent is its
//   cell edges in cm (a node's cell reaches half a step to each side); coordinates that are not
//   numbers or do not ascend give no scale in cm, and the axes then count nodes.
//   COLOUR_SLICE does the colouring alone, for values of another kind put in its place (a
//   difference of two maps: values and signed_scale set by the caller).
//
//   SLICE_SCENE draws it in a picture of the look's size: the title (SLICE_TITLE: "Ez (V/cm) on
//   the XY plane at z = 0 cm (node 201 of 401)") on top, the cells framed in black with the
//   same scale across and up (or filling the room, stretch), the across axis below and the up
//   axis at the left with ticks in cm (AXIS_TICKS, every second, fifth... one left out until
//   their numbers have room) and their titles ("z (cm)"), the colour bar at the right over the
//   room's height with its numbers, and the quantity's title ("Ez (V/cm)") above it. Every
//   length is a multiple of the look's text size, so that a print page and a screen look
//   alike; the cells' frame is whole units. SLICE_FRAME gives where the cells lie and what
//   part of the plane they show (the window reads the node under the pointer from it).
//
// HOW TO CALL IT
//   const shown_slice shown = SHOW_SLICE(m, {slice_plane::xz, 25, slice_quantity::z, 0}, "MW_map.bin");
//   slice_look look = screen_look;  look.width = 1200;      // or print_look for a PDF
//   const scene picture = SLICE_SCENE(shown, look);         // then WRITE_SCENE(path, picture)
//
// ASSUMES AND LIMITS
//   The map is unfolded for the cut's field and the cut's node lies on the plane; the text goes
//   through the surface's fonts (one thread). A look whose room is too small for the margins
//   still gets cells of 10 units; the rest then runs off the picture.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "field/slices.h"
#include "picture/scene.h"

namespace orvex {

struct shown_slice {
    slice_cut cut;
    slice_size shape;
    std::vector<double> values;         // columns x rows, row by row from the lowest up node
    bool signed_scale = true;           // the diverging map about 0; false: the sequential one
    double lo = -1.0, hi = 1.0;         // the colour range
    std::vector<packed_colour> cells;   // one a node, the highest row first (the image's order)
    double x0 = 0.0, x1 = 1.0, y0 = 0.0, y1 = 1.0;  // the whole plane: its cell edges (cm)
    bool index_axes = false;            // the coordinates give no scale: the axes count nodes
    std::string title, value_title, source;
};

// A component whose values on the slice keep one sign is coloured over its own range with the
// sequential map (1,100 to 1,130 V/cm is not one dark red); one that changes sign, is zero
// everywhere, or is a difference of two maps takes the diverging map about zero, as every
// component does with symmetric.
shown_slice SHOW_SLICE(const full_map& m, const slice_cut& cut, std::string_view source, bool symmetric = false);
void COLOUR_SLICE(shown_slice& s);
// The plane drawn to scale would be a strip (one side more than four times the other, as the XZ
// and YZ planes of a long map): it is then drawn stretched to fill its room, in the slice window
// until the user chooses, and by --slice.
bool SLICE_IS_STRIP(const shown_slice& s);

struct slice_look {
    double width = 900.0, height = 560.0;  // units: pixels (PNG, SVG, the window) or points (PDF)
    double text = 14.0;                    // the texts' cell height
    double line = 1.0;                     // the frames' and ticks' width
    bool stretch = false;                  // the cells fill the room: no same scale
    bool whole = true;                     // the whole plane, else the part below (cm)
    double x0 = 0.0, x1 = 1.0, y0 = 0.0, y1 = 1.0;
};
// The screen's (the slice window's default size) and the print page's: A5 landscape, in points.
inline constexpr slice_look screen_look{900.0, 560.0, 14.0, 1.0};
inline constexpr slice_look print_look{595.28, 419.53, 10.0, 0.7};

struct slice_frame {
    double left = 0.0, top = 0.0, right = 1.0, bottom = 1.0;  // the cells' area, whole units
    double x0 = 0.0, x1 = 1.0, y0 = 0.0, y1 = 1.0;            // the part of the plane it shows
};
slice_frame SLICE_FRAME(const shown_slice& s, const slice_look& look);

scene SLICE_SCENE(const shown_slice& s, const slice_look& look);

}  // namespace orvex
