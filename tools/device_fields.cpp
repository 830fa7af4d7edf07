// device_fields.cpp: the example devices; see device_fields.h.
#include "device_fields.h"

#include <cmath>
#include <numbers>

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

// Solenoid: 20 cm long, bore radius 4 cm, 2 kGs at the centre of a long coil. With
// g(u) = u / sqrt(u^2 + a^2), Bz(0, z) = B0/2 [g(z + L/2) - g(z - L/2)]; off axis to second
// order: Bz = Bz(0, z) - r^2/4 Bz'', Br = -r/2 Bz'.
field_value SOLENOID(double x, double y, double z) {
    constexpr double b0 = 2000.0, length = 20.0, bore = 4.0;
    const auto g1 = [](double u) { return bore * bore / std::pow(u * u + bore * bore, 1.5); };
    const auto g2 = [](double u) { return -3.0 * bore * bore * u / std::pow(u * u + bore * bore, 2.5); };
    const auto g0 = [](double u) { return u / std::sqrt(u * u + bore * bore); };
    const double up = z + length / 2.0, um = z - length / 2.0;
    const double bz = b0 / 2.0 * (g0(up) - g0(um));
    const double dbz = b0 / 2.0 * (g1(up) - g1(um));
    const double d2bz = b0 / 2.0 * (g2(up) - g2(um));
    field_value f;
    f.bx = -x / 2.0 * dbz;
    f.by = -y / 2.0 * dbz;
    f.bz = bz - (x * x + y * y) / 4.0 * d2bz;
    return f;
}

// Lens and doublet: the lens electrode at 20 kV with a Gaussian axial potential of width 3 cm;
// two quadrupoles of 800 Gs/cm, 8 cm long, centred at z = -6 and z = +6 cm, of opposite
// polarity, each with soft edges.
field_value LENS_DOUBLET(double x, double y, double z) {
    constexpr double v0 = 20.0e3, w = 3.0;
    const double gauss = std::exp(-z * z / (2.0 * w * w));
    const double dphi = v0 * gauss * (-z / (w * w));                        // phi'
    const double d2phi = v0 * gauss * (z * z / (w * w * w * w) - 1.0 / (w * w));  // phi''
    constexpr double g0 = 800.0, centre = 6.0, half = 4.0, edge = 1.0;
    const auto bell = [](double u) {
        return 0.5 * (std::tanh((u + half) / edge) - std::tanh((u - half) / edge));
    };
    const auto dbell = [](double u) {
        const double a = std::cosh((u + half) / edge), b = std::cosh((u - half) / edge);
        return 0.5 / edge * (1.0 / (a * a) - 1.0 / (b * b));
    };
    const double grad = g0 * (bell(z - centre) - bell(z + centre));
    const double dgrad = g0 * (dbell(z - centre) - dbell(z + centre));
    field_value f;
    f.ex = x / 2.0 * d2phi;
    f.ey = y / 2.0 * d2phi;
    f.ez = -dphi;
    f.bx = grad * y;
    f.by = grad * x;
    f.bz = dgrad * x * y;
    return f;
}

}  // namespace

field_value DEVICE_FIELD(field_model model, double x, double y, double z) {
    switch (model) {
        case field_model::rfq_cell: return RFQ_CELL(x, y, z);
        case field_model::solenoid: return SOLENOID(x, y, z);
        case field_model::lens_doublet: return LENS_DOUBLET(x, y, z);
        case field_model::analytic: break;
    }
    return {};
}

}  // namespace orvex::mapgen
