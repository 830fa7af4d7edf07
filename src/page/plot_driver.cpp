// plot_driver.cpp: the last stage of a run, from the unfolded grid to the finished page.
//
// Prints the grid limits and the mesh sizes, sets up the page, then line by line prints the
// line's fixed node indices, samples it and draws its x, y and z components into panels
// 3L - 2, 3L - 1 and 3L, every curve in red; ends with the legend in blue under the last row.
// Only the field it is handed is plotted (0 electric, 1 magnetic), in the page slot of that
// field.
#include "page/plot_driver.h"

#include <algorithm>
#include <array>

#include "console/assume.h"
#include "console/console.h"
#include "field/field_table.h"
#include "field/profiles.h"
#include "page/page.h"
#include "page/plotted_page.h"
#include "surface/png_output.h"
#include "surface/surface.h"
#include "page/vplot.h"

namespace orvex {

namespace {

constexpr int legend_length = 132;
constexpr std::string_view page_font = "t'Arial'h16w8i";

// The legend over the whole page, in blue, at (450, 770): all 132 characters, blank-padded.
void DRAW_LEGEND() {
    std::array<char, legend_length> text;
    text.fill(' ');
    std::copy_n(legend_text.begin(), std::min<std::size_t>(legend_text.size(), legend_length), text.begin());
    // The last profile plot left the clip on its own panel.
    SET_CLIP_RECT(1, 1, page_width, page_height);
    SET_DRAW_COLOUR(colour_table[2]);
    LOAD_FONTS();
    SELECT_FONT(page_font);
    MOVE_TO(450, 770);
    DRAW_TEXT(std::string_view(text.data(), text.size()), legend_length);
}

// What panel 3L - 3 + component shows, for reading values off the page later: the line's fixed
// nodes with their coordinates (node i lies at xmin + (i - 1) dx), the profile and its scales.
void RECORD_PANEL(const full_map& m, const field_entry& f, int line, int component, const line_indices& fixed,
                  const profile& curve) {
    const auto c = static_cast<std::size_t>(component - 1);
    const profile_line& which = profile_lines[static_cast<std::size_t>(line - 1)];
    plotted_panel p;
    p.panel = 3 * line - 3 + component;
    p.line = line;
    p.component = component;
    p.n = curve.n;
    p.pos = curve.pos;
    p.val = curve.val;
    p.axis_title = which.axis_title;
    p.value_title = f.value_titles[c];
    p.component_name = f.component_names[c];
    p.unit = f.unit;
    // A fixed node's coordinate, as the full map places it.
    const auto place = [&](char index_name, std::int32_t index) {
        return NODE_COORDINATE(m, index_name == 'i' ? 'x' : index_name == 'j' ? 'y' : 'z', index);
    };
    switch (which.axis) {
        case line_axis::x: p.axis = 'x'; p.fixed_names = {'j', 'k'}; break;
        case line_axis::y: p.axis = 'y'; p.fixed_names = {'i', 'k'}; break;
        case line_axis::z: p.axis = 'z'; p.fixed_names = {'i', 'j'}; break;
    }
    p.fixed_index = {fixed.first, fixed.second};
    p.fixed_coordinate = {place(p.fixed_names[0], fixed.first), place(p.fixed_names[1], fixed.second)};
    if (curve.n > 0) p.scale = PROFILE_SCALE(curve.n, curve.pos, curve.val);
    p.frame = panel_table[static_cast<std::size_t>(p.panel - 1)];
    RECORD_PLOTTED_PANEL(p);
}

}  // namespace

// Assumes UNFOLD_GRID has built a full map (counts not 0) and field is 0 or 1.
void PLOT_PROFILES(const full_map& m, int field, std::string_view map_file, page_listing listing,
                   std::string_view software) {
    ORVEX_ASSUME(m.complete && m.nx > 0, "UNFOLD_GRID has built a full grid before the page is plotted");
    const field_entry& f = FIELD_ENTRY(field);
    const bool listed = listing == page_listing::printed;
    SELECT_PAGE_SLOT(f.flag);
    RECORD_PLOTTED_SOURCE(map_file, f);
    if (listed) {
        CONSOLE_WRITE(" Grid limits in X, Y and Z = ", {L_REAL(m.xmin), L_REAL(m.xmax), L_REAL(m.ymin),
                                                        L_REAL(m.ymax), L_REAL(m.zmin), L_REAL(m.zmax)});
        CONSOLE_WRITE(" Mesh sizes  in X, Y and Z = ", {L_REAL(m.dx), L_REAL(m.dy), L_REAL(m.dz)});
    }
    INI_GRAPH();

    const packed_colour curve_colour = colour_table[4];
    for (int line = 1; line <= line_count; ++line) {
        const profile_line& which = profile_lines[static_cast<std::size_t>(line - 1)];
        const line_indices fixed = LINE_INDICES(m, line);
        if (listed) CONSOLE_WRITE(which.console_label, {L_INT(fixed.first), L_INT(fixed.second)});
        SAMPLE_LINE(m, f.flag, line);
        for (int component = 1; component <= 3; ++component) {
            const profile curve = PROFILE(f.flag, line, component);
            VPLOT1X(3 * line - 3 + component, curve.n, curve.pos, curve.val, which.axis_title,
                    f.value_titles[static_cast<std::size_t>(component - 1)], curve_colour);
            RECORD_PANEL(m, f, line, component, fixed, curve);
        }
    }
    DRAW_LEGEND();
    SET_PAGE_PNG_LABELS({software, map_file, f.title});
}

}  // namespace orvex
