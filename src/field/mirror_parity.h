// mirror_parity.h: which components of a map change sign under which mirror.
//
// WHAT IT IS
//   The one table of mirror parities, shared by the unfolding (which negates a component on the
//   mirrored side of every axis in which it is odd) and the map checks (which expect such a
//   component to vanish on the mirror plane). What is odd depends on what the map carries:
//     E only  (kind 0):  Ex odd in x, Ey odd in y, Ez odd in z (the normal component at each
//                        plane);
//     B only  (kind 1):  Bx odd in x and z, By odd in y and z, Bz even;
//     E and B (kind 2):  E as above, Bx odd in y and z, By odd in x and z, Bz odd in x and y.
//   Components are numbered 0..5 for Ex, Ey, Ez, Bx, By, Bz; the arrays a kind does not carry
//   are zero and odd in nothing.
//
// HOW TO CALL IT
//   if (ODD_AXES(g.field_kind, c) & odd_x) ...   // component c is odd under the mirror x -> -x
//
// ASSUMES AND LIMITS
//   A kind outside 0..2 carries nothing and is odd in nothing.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace orvex {

// Bits of the axes in which a component is odd.
inline constexpr unsigned odd_x = 1u, odd_y = 2u, odd_z = 4u;

inline constexpr int component_count = 6;

// Odd axes of Ex, Ey, Ez, Bx, By, Bz for each field kind 0, 1, 2.
inline constexpr std::array<std::array<unsigned, component_count>, 3> odd_axes{{
    {odd_x, odd_y, odd_z, 0u, 0u, 0u},
    {0u, 0u, 0u, odd_x | odd_z, odd_y | odd_z, 0u},
    {odd_x, odd_y, odd_z, odd_y | odd_z, odd_x | odd_z, odd_x | odd_y},
}};

// The axes in which component c (0..5) of a map of this kind is odd; 0 outside the table.
constexpr unsigned ODD_AXES(int field_kind, int c) {
    if (field_kind < 0 || field_kind > 2 || c < 0 || c >= component_count) return 0u;
    return odd_axes[static_cast<std::size_t>(field_kind)][static_cast<std::size_t>(c)];
}

// Whether a map of this kind carries component c: kind 0 the electric triple (0..2), kind 1
// the magnetic triple (3..5), kind 2 all six.
constexpr bool CARRIES(int field_kind, int c) {
    if (field_kind == 2) return c >= 0 && c < component_count;
    if (field_kind == 0) return c >= 0 && c < 3;
    if (field_kind == 1) return c >= 3 && c < component_count;
    return false;
}

// The components' names as a physicist writes them.
inline constexpr std::array<std::string_view, component_count> component_names{"Ex", "Ey", "Ez",
                                                                               "Bx", "By", "Bz"};

}  // namespace orvex
