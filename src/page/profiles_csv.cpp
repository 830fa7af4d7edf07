// profiles_csv.cpp: the rows of the profile export, in the program's one CSV form.
#include "page/profiles_csv.h"

#include <array>

#include "console/csv_text.h"
#include "console/file_output.h"
#include "console/number_text.h"

namespace orvex {

namespace {

std::string_view TRIMMED(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

bool IS_PANEL(int panel) { return panel >= 1 && panel <= panel_count; }

void APPEND_NOTES(std::string& out, const plotted_page& page, std::span<const int> panels) {
    const field_entry& f = *page.field;
    CSV_NOTE(out, "plot_orvex_3dfields profiles");
    CSV_NOTE(out, "map: " + std::string(TRIMMED(page.map_file)));
    CSV_NOTE(out, "field: " + std::string(f.name) + " (" + std::string(f.component_names[0]) + ", " +
                      std::string(f.component_names[1]) + ", " + std::string(f.component_names[2]) + ")");
    CSV_NOTE(out, "units: x, y, z and position in cm; value in " + std::string(f.unit));
    // Each line's title once, in the order its rows come.
    std::array<bool, panel_count / 3 + 1> noted{};
    for (const int panel : panels) {
        if (!IS_PANEL(panel)) continue;
        const plotted_panel& p = page.panels[static_cast<std::size_t>(panel - 1)];
        const int line = p.line;  // 0 for a line through any node (the detail window's)
        if (line < 0 || line > panel_count / 3 || noted[static_cast<std::size_t>(line)] || p.axis_title.empty()) continue;
        noted[static_cast<std::size_t>(line)] = true;
        CSV_NOTE(out, "line " + NUMBER_I(line) + ": " + std::string(TRIMMED(p.axis_title)));
    }
}

// The coordinates of a node of the panel's line: its position along the line's axis, the
// line's fixed coordinates across it.
std::array<double, 3> NODE_COORDINATES(const plotted_panel& p, int node, double position) {
    if (p.points != nullptr) {
        const double* at = p.points + 3 * static_cast<std::size_t>(node - 1);
        return {at[0], at[1], at[2]};
    }
    const double first = p.fixed_coordinate[0], second = p.fixed_coordinate[1];
    switch (p.axis) {
        case 'x': return {position, first, second};  // fixed j, k
        case 'y': return {first, position, second};  // fixed i, k
        default: return {first, second, position};   // fixed i, j
    }
}

}  // namespace

std::string PROFILES_CSV(const plotted_page& page, std::span<const int> panels) {
    std::size_t rows = 0;
    for (const int panel : panels) {
        if (IS_PANEL(panel)) rows += static_cast<std::size_t>(page.panels[static_cast<std::size_t>(panel - 1)].n);
    }
    std::string out;
    out.reserve(512 + rows * 112);
    // A segment's position is its distance s from the first point.
    bool segment = false;
    for (const int panel : panels)
        if (IS_PANEL(panel)) {
            segment = page.panels[static_cast<std::size_t>(panel - 1)].points != nullptr;
            break;
        }
    CSV_HEADER(out, {"line", "component", "node", "x", "y", "z", segment ? "s" : "position", "value"});
    APPEND_NOTES(out, page, panels);
    for (const int panel : panels) {
        if (!IS_PANEL(panel)) continue;
        const plotted_panel& p = page.panels[static_cast<std::size_t>(panel - 1)];
        for (int node = 1; node <= p.n; ++node) {
            const double position = p.pos[node - 1];
            const std::array<double, 3> at = NODE_COORDINATES(p, node, position);
            CSV_ROW(out, {L_INT(p.line), L_TEXT(TRIMMED(p.component_name)), L_INT(node), L_REAL(at[0]),
                          L_REAL(at[1]), L_REAL(at[2]), L_REAL(position), L_REAL(p.val[node - 1])});
        }
    }
    return out;
}

bool WRITE_PROFILES_CSV(std::string_view path, const plotted_page& page, std::span<const int> panels,
                        std::string* why) {
    return WRITE_FILE_ATOMICALLY(path, PROFILES_CSV(page, panels), why);
}

}  // namespace orvex
