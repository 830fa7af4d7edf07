// plot_driver.cpp: the last stage of a run, from the unfolded grid to the finished page.
//
// Prints the grid limits and the mesh sizes, sets up the page, then line by line prints the
// line's fixed node indices, samples it and draws its x, y and z components into panels
// 3L - 2, 3L - 1 and 3L, every curve in red; ends with the legend in blue under the last row.
// Only the triple that field_flag selects is plotted (0 electric, 1 magnetic).
#include "page/plot_driver.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "console/assume.h"
#include "console/console.h"
#include "field/field_grid.h"
#include "field/field_table.h"
#include "field/profiles.h"
#include "page/page.h"
#include "page/plotted_page.h"
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
void RECORD_PANEL(int line, int component, const line_indices& fixed, const profile& curve) {
    const field_grid_record& g = field_grid;
    const field_entry& f = FIELD_ENTRY(g.field_flag);
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
    // A node's coordinate; the centre node of a mirrored axis lies on 0 up to the rounding of
    // the step, and is given as 0.
    const auto place = [&](char axis, std::int32_t index) {
        const double lo = axis == 'i' ? g.xmin : axis == 'j' ? g.ymin : g.zmin;
        const double step = axis == 'i' ? g.dx : axis == 'j' ? g.dy : g.dz;
        const double at = lo + static_cast<double>(index - 1) * step;
        return std::fabs(at) < 1e-9 * std::fabs(step) ? 0.0 : at;
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

// Assumes UNFOLD_GRID has built a full grid (counts not 0) and field_flag is 0 or 1.
void PLOT_PROFILES(std::string_view map_file) {
    const field_grid_record& g = field_grid;
    ORVEX_ASSUME(g.unfolded && g.nx > 0, "UNFOLD_GRID has built a full grid before the page is plotted");
    const field_entry& f = FIELD_ENTRY(g.field_flag);
    RECORD_PLOTTED_SOURCE(map_file, f);
    CONSOLE_WRITE(" Grid limits in X, Y and Z = ", {L_REAL(g.xmin), L_REAL(g.xmax), L_REAL(g.ymin),
                                                    L_REAL(g.ymax), L_REAL(g.zmin), L_REAL(g.zmax)});
    COMPUTE_MESH_STEPS();
    CONSOLE_WRITE(" Mesh sizes  in X, Y and Z = ", {L_REAL(g.dx), L_REAL(g.dy), L_REAL(g.dz)});
    INI_GRAPH();

    const packed_colour curve_colour = colour_table[4];
    for (int line = 1; line <= line_count; ++line) {
        const profile_line& which = profile_lines[static_cast<std::size_t>(line - 1)];
        const line_indices fixed = LINE_INDICES(line);
        CONSOLE_WRITE(which.console_label, {L_INT(fixed.first), L_INT(fixed.second)});
        SAMPLE_LINE(line);
        for (int component = 1; component <= 3; ++component) {
            const profile curve = PROFILE(line, component);
            VPLOT1X(3 * line - 3 + component, curve.n, curve.pos, curve.val, which.axis_title,
                    f.value_titles[static_cast<std::size_t>(component - 1)], curve_colour);
            RECORD_PANEL(line, component, fixed, curve);
        }
    }
    DRAW_LEGEND();
}

}  // namespace orvex
