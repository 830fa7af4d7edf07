// magnet_options.h: the options of write_field_map's --model multipole, read into the magnet.
//
// WHAT IT IS
//   --multipole N,C[,R]  the main harmonic's order, its field at radius R (cm; default 1)
//   --harmonic N,B,A     an added harmonic: normal B and skew A in units of 1e-4 of C (repeatable)
//   --offset X0,Y0       the magnet's centre (cm)
//   --roll MRAD          the magnet turned about z, x towards y
//   --envelope H,S       the envelope's half-length (0: none) and rise (cm)
//   (physics_fields.h defines the field.) Orders are 1..30, every number finite, R and S above 0.
//
// HOW TO CALL IT
//   if (IS_MAGNET_OPTION(opt)) { const std::string bad = READ_MAGNET_OPTION(opt, value, recipe.magnet); ... }
//
// ASSUMES AND LIMITS
//   The caller refuses these options without --model multipole.
#pragma once

#include <string>
#include <string_view>

#include "physics_fields.h"

namespace orvex::mapgen {

bool IS_MAGNET_OPTION(std::string_view option);
// Takes the option's value into the magnet; returns what is wrong with it, or "" when taken.
std::string READ_MAGNET_OPTION(std::string_view option, std::string_view value, multipole_magnet& magnet);

}  // namespace orvex::mapgen
