// pen.cpp: polylines through far-off points, cut in double precision before they reach the
// surface's 16-bit coordinates.
#include "surface/pen.h"

#include <cmath>

namespace orvex {

namespace {

bool INSIDE(const pixel_box& box, double x, double y) {
    return x >= box.x1 && x <= box.x2 && y >= box.y1 && y <= box.y2;
}

coord TO_COORD(double v) { return static_cast<coord>(std::lround(v)); }

// Cuts the segment (ax, ay) - (bx, by), all four finite, to box (Liang-Barsky). False when no
// part of it lies in the box, or when the ends are so far apart that their distance overflows.
// The cut ends are as exact as a + t (b - a) in double precision: to the pixel while the ends
// lie within about 2^52 pixels.
bool CUT_TO_BOX(double& ax, double& ay, double& bx, double& by, const pixel_box& box) {
    const double x0 = ax, y0 = ay;
    const double dx = bx - x0, dy = by - y0;
    if (!std::isfinite(dx) || !std::isfinite(dy)) return false;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x0 - box.x1, box.x2 - x0, y0 - box.y1, box.y2 - y0};
    double t0 = 0.0, t1 = 1.0;
    for (int e = 0; e < 4; ++e) {
        if (p[e] == 0.0) {
            if (q[e] < 0.0) return false;
            continue;
        }
        const double t = q[e] / p[e];
        if (p[e] < 0.0) {
            if (t > t1) return false;
            if (t > t0) t0 = t;
        } else {
            if (t < t0) return false;
            if (t < t1) t1 = t;
        }
    }
    ax = x0 + t0 * dx;
    ay = y0 + t0 * dy;
    bx = x0 + t1 * dx;
    by = y0 + t1 * dy;
    return true;
}

}  // namespace

void PEN_MOVE(pen& p, double x, double y) {
    p.valid = false;
    PEN_LINE(p, x, y);
}

void PEN_LINE(pen& p, double x, double y) {
    const bool valid = std::isfinite(x) && std::isfinite(y);
    const bool near = valid && INSIDE(p.near, x, y);
    if (valid && p.valid) {
        if (near && INSIDE(p.near, p.x, p.y)) {
            // The current position is the last point itself.
            LINE_TO(TO_COORD(x), TO_COORD(y));
        } else {
            double ax = p.x, ay = p.y, bx = x, by = y;
            if (CUT_TO_BOX(ax, ay, bx, by, p.cut)) {
                MOVE_TO(TO_COORD(ax), TO_COORD(ay));
                LINE_TO(TO_COORD(bx), TO_COORD(by));
            }
            // The next segment starts from the point itself, not from a cut end near it.
            if (near) MOVE_TO(TO_COORD(x), TO_COORD(y));
        }
    } else if (near) {
        MOVE_TO(TO_COORD(x), TO_COORD(y));
    }
    p.x = x;
    p.y = y;
    p.valid = valid;
}

}  // namespace orvex
