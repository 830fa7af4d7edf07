// field_table.h: the two fields a map can carry, in one table.
//
// WHAT IT IS
//   What field_flag means, written once: for the electric field (flag 0) and the magnetic field
//   (flag 1) the name, the unit, the component names, the value titles the page draws, the
//   stored arrays of field_grid and the mirror parities (the full map's arrays are reached by
//   component number, full_map.h). The unfolding, the sampling,
//   the map checks, the readers, the page, the profile CSV, the readout and the window read it;
//   what crosses into the window is an entry of this table, never a word to compare.
//   Parities: a component is negated under a mirror in which it is odd. What is odd depends on
//   what the map carries:
//     E only  (kind 0):  Ex odd in x, Ey odd in y, Ez odd in z (the normal component at each
//                        plane);
//     B only  (kind 1):  Bx odd in x and z, By odd in y and z, Bz even;
//     E and B (kind 2):  E as above, Bx odd in y and z, By odd in x and z, Bz odd in x and y.
//   Components are also numbered 0..5 for Ex, Ey, Ez, Bx, By, Bz (c / 3 is the entry, c % 3
//   the component within it); the arrays a kind does not carry are zero and odd in nothing.
//
// HOW TO CALL IT
//   const field_entry& f = FIELD_ENTRY(field);               f.value_titles[2] == "Ez (V/cm)"
//   if (ODD_AXES(g.field_kind, c) & odd_x) ...             component c is odd under x -> -x
//
// ASSUMES AND LIMITS
//   FIELD_ENTRY gives the magnetic entry for flag 1 and the electric one for anything else (the
//   control file admits only 0 and 1). A kind outside 0..2 carries nothing and is odd in nothing.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "field/field_grid.h"

namespace orvex {

// Bits of the axes in which a component is odd.
inline constexpr unsigned odd_x = 1u, odd_y = 2u, odd_z = 4u;

inline constexpr int component_count = 6;

struct field_entry {
    std::int32_t flag = 0;        // line 5's field_flag; also the field_kind of a map of this field only
    int first_component = 0;      // 0 or 3: where its components stand among Ex .. Bz
    std::string_view name;        // "electric"
    std::string_view unit;        // "V/cm"
    std::array<std::string_view, 3> component_names;  // "Ex", "Ey", "Ez"
    std::array<std::string_view, 3> value_titles;     // "Ex (V/cm)", as the page draws them
    std::string_view title;                           // "electric field Ex, Ey, Ez (V/cm)"
    std::array<std::string_view, 3> stored_names;     // "ex_in", as the readers name the arrays
    std::array<stored_array field_grid_record::*, 3> stored;
    std::array<unsigned, 3> odd_alone;       // odd axes in a map that carries only this field
    std::array<unsigned, 3> odd_with_other;  // odd axes in a map that carries both fields
};

inline constexpr std::array<field_entry, 2> field_table{{
    {0, 0, "electric", "V/cm", {"Ex", "Ey", "Ez"}, {"Ex (V/cm)", "Ey (V/cm)", "Ez (V/cm)"},
     "electric field Ex, Ey, Ez (V/cm)", {"ex_in", "ey_in", "ez_in"},
     {&field_grid_record::ex_in, &field_grid_record::ey_in, &field_grid_record::ez_in},
     {odd_x, odd_y, odd_z}, {odd_x, odd_y, odd_z}},
    {1, 3, "magnetic", "Gs", {"Bx", "By", "Bz"}, {"Bx (Gs)", "By (Gs)", "Bz (Gs)"},
     "magnetic field Bx, By, Bz (Gs)", {"bx_in", "by_in", "bz_in"},
     {&field_grid_record::bx_in, &field_grid_record::by_in, &field_grid_record::bz_in},
     {odd_x | odd_z, odd_y | odd_z, 0u}, {odd_y | odd_z, odd_x | odd_z, odd_x | odd_y}},
}};

// The entry line 5's flag selects: 1 the magnetic field, anything else the electric one.
constexpr const field_entry& FIELD_ENTRY(std::int32_t field_flag) {
    return field_table[field_flag == 1 ? 1 : 0];
}

// The entry component c (0..5) belongs to, and its place (0..2) in that entry.
constexpr const field_entry& COMPONENT_FIELD(int c) { return field_table[c >= 3 ? 1 : 0]; }
constexpr std::size_t COMPONENT_PLACE(int c) { return static_cast<std::size_t>(c % 3); }

// Whether a map of this kind carries component c: kind 0 the electric triple (0..2), kind 1
// the magnetic triple (3..5), kind 2 all six.
constexpr bool CARRIES(int field_kind, int c) {
    if (c < 0 || c >= component_count) return false;
    return field_kind == 2 || (field_kind >= 0 && field_kind == COMPONENT_FIELD(c).flag);
}

// The axes in which component c (0..5) of a map of this kind is odd; 0 for what it does not carry.
constexpr unsigned ODD_AXES(int field_kind, int c) {
    if (!CARRIES(field_kind, c)) return 0u;
    const field_entry& f = COMPONENT_FIELD(c);
    return (field_kind == 2 ? f.odd_with_other : f.odd_alone)[COMPONENT_PLACE(c)];
}

// The name of component c (0..5) as a physicist writes it: "Ex" .. "Bz".
constexpr std::string_view COMPONENT_NAME(int c) { return COMPONENT_FIELD(c).component_names[COMPONENT_PLACE(c)]; }

// The control file that names a map and chooses its field: its name, and how many characters of
// line 3 name the map (the viewer reads it, write_field_map writes one beside a new map).
inline constexpr std::string_view control_file_name = "plot_orvex_3dfields.dat";
inline constexpr int file_name_length = 132;

// The kind tokens a map's file name holds (case-sensitive, anywhere in the name, directory
// included): "MW" says the map carries both fields (kind 2); otherwise "PMQ", "EM" or "RFQ" say
// it carries one, the field it is asked for (line 5's field_flag). -1: the name holds none.
constexpr int KIND_OF_NAME(std::string_view name, int field_flag) {
    if (name.find("MW") != std::string_view::npos) return 2;
    for (const std::string_view token : {"PMQ", "EM", "RFQ"})
        if (name.find(token) != std::string_view::npos) return field_flag;
    return -1;
}

// The stored array of component c (0..5) of a grid.
inline const stored_array& STORED_COMPONENT(const field_grid_record& g, int c) {
    return g.*COMPONENT_FIELD(c).stored[COMPONENT_PLACE(c)];
}

}  // namespace orvex
