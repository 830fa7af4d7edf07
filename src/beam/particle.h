// particle.h: the particles the tracking knows, and their kinematics.
//
// WHAT IT IS
//   A particle is a rest energy (MeV) and a charge (units of e). Four are named, with the
//   CODATA 2018 rest energies: proton 938.27208816, electron 0.51099895000, deuteron
//   1875.61294257, alpha 3727.3794066 MeV, charges +1, -1, +1, +2. Any other is given as
//   MASS_MEV,CHARGE ("139.57039,1" for a positive pion). The kinematics take the kinetic
//   energy W (MeV): momentum p c = sqrt(W (W + 2 m c^2)) (MeV), gamma = 1 + W / (m c^2),
//   beta = p c / (W + m c^2).
//
// HOW TO CALL IT
//   std::string why;
//   const std::optional<particle> p = PARTICLE_NAMED("alpha", &why);   // or "938.272,1"
//   if (!p) refuse with "--particle " + why;
//   const double pc = MOMENTUM_MEV(*p, 10.0);
//
// ASSUMES AND LIMITS
//   A mass above 0 and a charge other than 0, both finite; a kinetic energy above 0.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace orvex {

struct particle {
    std::string name;        // "proton", ..., or "custom"
    double mass_mev = 0.0;   // rest energy m c^2, MeV
    double charge = 0.0;     // units of e
};

struct named_particle {
    std::string_view name;
    double mass_mev;
    double charge;
};

inline constexpr std::array<named_particle, 4> particle_table{{
    {"proton", 938.27208816, 1.0},
    {"electron", 0.51099895000, -1.0},
    {"deuteron", 1875.61294257, 1.0},
    {"alpha", 3727.3794066, 2.0},
}};

// What --particle and the window take, said when something else is given.
inline constexpr std::string_view particle_rule =
    "takes proton, electron, deuteron, alpha or MASS_MEV,CHARGE (a rest energy above 0 in MeV and a charge "
    "other than 0 in units of e)";

// The particle a text names; absent (why set to particle_rule and what was given) otherwise.
std::optional<particle> PARTICLE_NAMED(std::string_view text, std::string* why = nullptr);

// p c (MeV), beta and gamma at kinetic energy w_mev.
double MOMENTUM_MEV(const particle& p, double w_mev);
double BETA_AT(const particle& p, double w_mev);
double GAMMA_AT(const particle& p, double w_mev);

}  // namespace orvex
