// plot_driver.cpp: the last stage of a run, from the unfolded grid to the finished page.
//
// Prints the grid limits and the mesh sizes, sets up the page, then line by line prints the
// line's fixed node indices, samples it and draws its x, y and z components into panels
// 3L - 2, 3L - 1 and 3L, every curve in red; ends with the legend in blue under the last row.
// Only the triple that field_flag selects is plotted (0 electric, 1 magnetic).
#include "plot/plot_driver.h"

#include <algorithm>
#include <array>

#include "console/console.h"
#include "field/field_grid.h"
#include "plot/page.h"
#include "field/profiles.h"
#include "plot/surface.h"
#include "plot/vplot.h"

namespace orvex {

namespace {

constexpr std::array<std::string_view, 3> electric_titles = {"Ex (V/cm)", "Ey (V/cm)", "Ez (V/cm)"};
constexpr std::array<std::string_view, 3> magnetic_titles = {"Bx (Gs)", "By (Gs)", "Bz (Gs)"};
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

}  // namespace

// Assumes UNFOLD_GRID has built a full grid (counts not 0) and field_flag is 0 or 1.
void PLOT_PROFILES() {
    const field_grid_record& g = field_grid;
    CONSOLE_WRITE(" Grid limits in X, Y and Z = ", {L_REAL(g.xmin), L_REAL(g.xmax), L_REAL(g.ymin),
                                                    L_REAL(g.ymax), L_REAL(g.zmin), L_REAL(g.zmax)});
    COMPUTE_MESH_STEPS();
    CONSOLE_WRITE(" Mesh sizes  in X, Y and Z = ", {L_REAL(g.dx), L_REAL(g.dy), L_REAL(g.dz)});
    INI_GRAPH();

    const std::array<std::string_view, 3>& value_titles = g.field_flag == 1 ? magnetic_titles : electric_titles;
    const packed_colour curve_colour = colour_table[4];
    for (int line = 1; line <= line_count; ++line) {
        const profile_line& which = profile_lines[static_cast<std::size_t>(line - 1)];
        const line_indices fixed = LINE_INDICES(line);
        CONSOLE_WRITE(which.console_label, {L_INT(fixed.first), L_INT(fixed.second)});
        SAMPLE_LINE(line);
        for (int component = 1; component <= 3; ++component) {
            const profile curve = PROFILE(line, component);
            VPLOT1X(3 * line - 3 + component, curve.n, curve.pos, curve.val, which.axis_title,
                    value_titles[static_cast<std::size_t>(component - 1)], curve_colour);
        }
    }
    DRAW_LEGEND();
}

}  // namespace orvex
