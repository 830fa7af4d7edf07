// device_fields.h: fields that look like real devices, for the bundled example maps.
//
// Each obeys the mirror parities of its field kind, so a map stored on the non-negative side of
// its mirrored axes unfolds to the device's field on the whole region:
//   rfq_cell       kind 0: the two-term potential of an RFQ cell, U = V/2 [(x^2 - y^2)/r0^2
//                  + A I0(k r) cos(k z)], E = -grad U (V/cm). Ex odd in x, Ey odd in y, Ez odd in z.
//   solenoid       kind 1: a solenoid 20 cm long whose field on the axis rises over about
//                  2.5 cm at each end (the difference of two error functions, 2 kGs inside),
//                  continued off the axis as a field of revolution free of divergence
//                  (physics_fields.h). Bx odd in x and z, By odd in y and z, Bz even.
//   lens_doublet   kind 2: an electrostatic einzel-type lens (E odd across each mirror plane;
//                  Ex = x/2 phi'', Ey = y/2 phi'', Ez = -phi', free of divergence) inside a
//                  quadrupole doublet whose gradient G(z) changes sign at z = 0 (to leading
//                  order Bx = G y, By = G x, Bz = G' x y; continued off the axis as the
//                  gradient of a harmonic potential, physics_fields.h).
#pragma once

#include <array>
#include <string_view>

#include "analytic_field.h"

namespace orvex::mapgen {

enum class field_model {
    analytic, rfq_cell, solenoid, lens_doublet,
    gaussian_gap, gaussian_solenoid, quadrupole, harmonic,  // physics_fields.h
    multipole,  // physics_fields.h, with the recipe's magnet
    pillbox     // physics_fields.h, an RF mode
};

// The models by the names write_field_map's --model takes; a new model is one more row.
struct named_model {
    std::string_view name;
    field_model model;
};
inline constexpr std::array<named_model, 10> model_names{{{"analytic", field_model::analytic},
                                                         {"rfq", field_model::rfq_cell},
                                                         {"solenoid", field_model::solenoid},
                                                         {"lens-doublet", field_model::lens_doublet},
                                                         {"gaussian-gap", field_model::gaussian_gap},
                                                         {"gaussian-solenoid", field_model::gaussian_solenoid},
                                                         {"quadrupole", field_model::quadrupole},
                                                         {"harmonic", field_model::harmonic},
                                                         {"multipole", field_model::multipole},
                                                         {"pillbox", field_model::pillbox}}};

// The device field at (x, y, z) cm for a map of kind 0, 1 or 2 (only the harmonic model of
// physics_fields.h depends on it). Device dimensions are fixed; they suit a region of about
// 1..2 cm across and 10..60 cm along z.
field_value DEVICE_FIELD(field_model model, int kind, double x, double y, double z);

}  // namespace orvex::mapgen
