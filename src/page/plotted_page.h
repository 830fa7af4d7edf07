// plotted_page.h: what each of the thirty panels shows, kept for reading values off the page.
//
// WHAT IT IS
//   The plot driver records, for every panel it plots, the profile it drew (its points, which
//   stay valid for the whole run), the line and component, the titles, the line's two fixed
//   node indices with their coordinates, and the scales VPLOT1X used. The window reads values
//   off the page through it (the node under the pointer, a detail window, the CSV export); the
//   page itself never reads it.
//
// HOW TO CALL IT
//   const plotted_page& page = PLOTTED_PAGE();           // after PLOT_PROFILES
//   const plotted_panel& p = page.panels[panel - 1];     // panel 1..30
//   for (int node = 1; node <= p.n; ++node) use p.pos[node - 1], p.val[node - 1];
//
// ASSUMES AND LIMITS
//   There is one record for each page slot of the surface (surface.h); PLOTTED_PAGE and the
//   recording work on the slot selected. Filled by PLOT_PROFILES, in panel order; panels the run did not plot have
//   n = 0. The texts are views of constants and of the control file's name; nothing here is
//   allocated.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "field/field_table.h"
#include "page/page.h"
#include "page/vplot.h"

namespace orvex {

struct plotted_panel {
    std::int32_t panel = 0;      // 1..30
    std::int32_t line = 0;       // 1..10
    std::int32_t component = 0;  // 1..3: x, y, z component of the triple plotted
    std::int32_t n = 0;          // points of the profile
    const double* pos = nullptr;  // n positions, cm
    const double* val = nullptr;  // n values, V/cm or Gs
    char axis = 'x';              // the coordinate along the line: 'x', 'y' or 'z'
    std::string_view axis_title;     // "Z (cm), X=Y=0"
    std::string_view value_title;    // "Ez (V/cm)"
    std::string_view component_name; // "Ez"
    std::string_view unit;           // "V/cm" or "Gs"
    // The line's two fixed node indices, as the console lists them: names ("i, j", "j, k" or
    // "i, k"), indices and the coordinates of those nodes in cm.
    std::array<char, 2> fixed_names{};
    std::array<std::int32_t, 2> fixed_index{};
    std::array<double, 2> fixed_coordinate{};
    profile_scale scale{};
    panel_record frame{};  // the panel's pixel edges on the page
    // A profile along a segment between any two points (axis 's', the position its length from
    // the first point): its n points, x, y, z in cm one after another; null for lines of nodes.
    const double* points = nullptr;
};

struct plotted_page {
    std::array<plotted_panel, panel_count> panels{};
    std::string_view map_file;    // the field file's name as the control file gives it
    const field_entry* field = &field_table[0];  // the field plotted (never null)
};

const plotted_page& PLOTTED_PAGE();

// The plot driver's record of one panel (its panel number picks the slot).
void RECORD_PLOTTED_PANEL(const plotted_panel& p);
void RECORD_PLOTTED_SOURCE(std::string_view map_file, const field_entry& field);

}  // namespace orvex
