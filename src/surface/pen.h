// pen.h: polylines through points in double-precision pixel coordinates, drawn on the surface
// (surface.h) without ever handing it a coordinate that does not fit 16 bits.
//
// WHAT IT IS
//   A pen has two boxes in page pixels. A segment whose two ends lie in `near` goes to the
//   surface as it is, so its pixels are exactly those of the surface's own line between the two
//   points. A segment with an end outside `near` is first cut to `cut` in double precision
//   (Liang-Barsky); only the part inside is drawn, so a far-off point never wraps around into
//   the page and the part drawn keeps the segment's true direction.
//
// HOW TO CALL IT, one operation a line
//   PEN_MOVE(p,x,y)   starts a new polyline at (x,y); the current position moves there when
//                     (x,y) is near
//   PEN_LINE(p,x,y)   draws the segment from the pen's last point to (x,y) in the drawing colour;
//                     the current position then is (x,y) when it is near, else the end of what
//                     was drawn; with no finite last point (a new pen, or just after a break) it
//                     acts as PEN_MOVE; a point that is not finite draws nothing and breaks the
//                     polyline, which goes on at the next finite point
//
// ASSUMES AND LIMITS
//   `cut` lies inside `near`, and both inside 16-bit coordinates. Between calls on one pen the
//   caller leaves the current position alone. Points are rounded to the nearest pixel as they
//   reach the surface. Cut ends are right to the pixel while both ends lie within about 2^52
//   pixels; a segment whose ends are so far apart that their distance overflows a double draws
//   nothing.
#pragma once

#include "surface/surface.h"

namespace orvex {

// A rectangle in page pixels, edges included, x1 <= x2 and y1 <= y2.
struct pixel_box {
    double x1, y1, x2, y2;
};

// Every pixel coordinate the surface can take.
inline constexpr pixel_box coord_box{-32768.0, -32768.0, 32767.0, 32767.0};

struct pen {
    pixel_box near = coord_box;  // points handed to the surface as they are
    pixel_box cut = coord_box;   // what a segment with a far end is cut to
    double x = 0.0, y = 0.0;     // the last point
    bool valid = false;          // the last point is finite: a segment starts there
};

void PEN_MOVE(pen& p, double x, double y);
void PEN_LINE(pen& p, double x, double y);

}  // namespace orvex
