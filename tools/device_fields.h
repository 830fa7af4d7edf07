// device_fields.h: fields that look like real devices, for the bundled example maps.
//
// Each obeys the mirror parities of its field kind, so a map stored on the non-negative side of
// its mirrored axes unfolds to the device's field on the whole region:
//   rfq_cell       kind 0: the two-term potential of an RFQ cell, U = V/2 [(x^2 - y^2)/r0^2
//                  + A I0(k r) cos(k z)], E = -grad U (V/cm). Ex odd in x, Ey odd in y, Ez odd in z.
//   solenoid       kind 1: a short solenoid in the paraxial expansion of its on-axis field
//                  (Gs). Bx odd in x and z, By odd in y and z, Bz even.
//   lens_doublet   kind 2: an electrostatic einzel-type lens (E odd across each mirror plane)
//                  inside a quadrupole doublet whose gradient changes sign at z = 0
//                  (Bx = G(z) y, By = G(z) x, Bz = G'(z) x y).
#pragma once

#include <array>
#include <string_view>

#include "analytic_field.h"

namespace orvex::mapgen {

enum class field_model { analytic, rfq_cell, solenoid, lens_doublet };

// The models by the names write_field_map's --model takes; a new model is one more row.
struct named_model {
    std::string_view name;
    field_model model;
};
inline constexpr std::array<named_model, 4> model_names{{{"analytic", field_model::analytic},
                                                         {"rfq", field_model::rfq_cell},
                                                         {"solenoid", field_model::solenoid},
                                                         {"lens-doublet", field_model::lens_doublet}}};

// The device field at (x, y, z) cm. Device dimensions are fixed; they suit a region of about
// 1..2 cm across and 10..60 cm along z.
field_value DEVICE_FIELD(field_model model, double x, double y, double z);

}  // namespace orvex::mapgen
