// device_fields.cpp: the example devices; see device_fields.h.
#include "device_fields.h"

#include <array>

#include <cmath>
#include <numbers>

#include "physics_fields.h"

namespace orvex::mapgen {
namespace {

// RFQ cell: 60 kV between vanes, mean aperture 0.4 cm, modulation term 0.1, period 12 cm.
field_value RFQ_CELL(double x, double y, double z) {
    constexpr double v = 60.0e3, r0 = 0.4, a = 0.1;
    constexpr double k = 2.0 * std::numbers::pi / 12.0;
    const double r = std::hypot(x, y);
    const double i0 = std::cyl_bessel_i(0.0, k * r);
    const double i1_over_r = r > 0.0 ? std::cyl_bessel_i(1.0, k * r) / r : k / 2.0;
    field_value f;
    f.ex = -(v / 2.0) * (2.0 * x / (r0 * r0) + a * k * i1_over_r * x * std::cos(k * z));
    f.ey = -(v / 2.0) * (-2.0 * y / (r0 * r0) + a * k * i1_over_r * y * std::cos(k * z));
    f.ez = (v / 2.0) * a * k * i0 * std::sin(k * z);
    return f;
}

// Solenoid: 20 cm long, 2 kGs inside, ends rising over about 2.5 cm.
field_value SOLENOID(double x, double y, double z) {
    const axial_profile coil{2000.0, 0.0, 2.5, 10.0};
    const vector3 b = AXIAL_FIELD(&coil, 1, x, y, z);
    field_value f;
    f.bx = b.x;
    f.by = b.y;
    f.bz = b.z;
    return f;
}

// Lens and doublet: the lens electrode at 20 kV with a Gaussian axial potential of width 3 cm;
// two quadrupoles of 800 Gs/cm, 8 cm long, centred at z = -6 and z = +6 cm, of opposite
// polarity, each with ends rising over about 1 cm.
field_value LENS_DOUBLET(double x, double y, double z) {
    constexpr double v0 = 20.0e3, w = 3.0;
    const double gauss = std::exp(-z * z / (2.0 * w * w));
    const double dphi = v0 * gauss * (-z / (w * w));                        // phi'
    const double d2phi = v0 * gauss * (z * z / (w * w * w * w) - 1.0 / (w * w));  // phi''
    const std::array<axial_profile, 2> doublet{{{800.0, 6.0, 1.0, 4.0}, {-800.0, -6.0, 1.0, 4.0}}};
    const vector3 b = QUADRUPOLE_FIELD(doublet.data(), 2, x, y, z);
    field_value f;
    f.ex = x / 2.0 * d2phi;
    f.ey = y / 2.0 * d2phi;
    f.ez = -dphi;
    f.bx = b.x;
    f.by = b.y;
    f.bz = b.z;
    return f;
}

}  // namespace

field_value DEVICE_FIELD(field_model model, int kind, double x, double y, double z) {
    switch (model) {
        case field_model::rfq_cell: return RFQ_CELL(x, y, z);
        case field_model::solenoid: return SOLENOID(x, y, z);
        case field_model::lens_doublet: return LENS_DOUBLET(x, y, z);
        case field_model::analytic: break;
        default: return PHYSICS_FIELD(model, kind, x, y, z);
    }
    return {};
}

}  // namespace orvex::mapgen
