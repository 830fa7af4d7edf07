// analytic_field.cpp: the test fields; see analytic_field.h for their parities.
#include "analytic_field.h"

#include <cmath>

namespace orvex::mapgen {
namespace {

// Even and odd building blocks of distinct curvature.
double EVEN(double t, double a) { return 1.0 + a * t * t; }
double ODD(double t, double a) { return t * (1.0 + a * t * t); }

}  // namespace

field_value ANALYTIC_FIELD(int kind, double x, double y, double z, const field_scale& s) {
    const double u = x / s.scale_x, v = y / s.scale_y, w = z / s.scale_z;
    field_value f;
    if (kind == 0 || kind == 2) {
        f.ex = 1000.0 * ODD(u, 0.3) * EVEN(v, 0.5) * EVEN(w, 0.7);
        f.ey = 800.0 * EVEN(u, 0.4) * ODD(v, 0.2) * EVEN(w, 0.6);
        f.ez = 1200.0 * EVEN(u, 0.25) * EVEN(v, 0.35) * ODD(w, 0.45);
    }
    if (kind == 1) {
        f.bx = 500.0 * ODD(u, 0.15) * EVEN(v, 0.55) * ODD(w, 0.35);
        f.by = 450.0 * EVEN(u, 0.65) * ODD(v, 0.25) * ODD(w, 0.5);
        f.bz = 300.0 * EVEN(u, 0.45) * EVEN(v, 0.3) * (EVEN(w, -0.8) + 0.1);
    }
    if (kind == 2) {
        f.bx = 250.0 * EVEN(u, 0.2) * ODD(v, 0.6) * ODD(w, 0.3);
        f.by = 350.0 * ODD(u, 0.4) * EVEN(v, 0.1) * ODD(w, 0.55);
        f.bz = 150.0 * ODD(u, 0.5) * ODD(v, 0.45) * EVEN(w, 0.25);
    }
    return f;
}

}  // namespace orvex::mapgen
