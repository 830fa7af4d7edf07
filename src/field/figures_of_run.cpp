// figures_of_run.cpp: the figures' inputs and notes of the run's own grid; see figures_of_run.h.
#include "field/figures_of_run.h"

#include <string>

#include "field/map_checks.h"

namespace orvex {

figure_lines FIGURE_LINES_OF_RUN() {
    figure_lines lines;
    for (int l = 1; l <= line_count; ++l) {
        const profile_line& p = profile_lines[static_cast<std::size_t>(l - 1)];
        lines.line[static_cast<std::size_t>(l - 1)] = figure_line{p.axis, p.axis_title, LINE_INDICES(l)};
    }
    return lines;
}

void NOTE_DIVERGENCE(int field, const std::optional<divergence_figures>& d) {
    if (!d) return;
    const std::string note = DIVERGENCE_NOTE(field, *d);
    if (!note.empty()) ADD_MAP_NOTE(note);
}

void CHECK_DIVERGENCE(int field) { NOTE_DIVERGENCE(field, DIVERGENCE(field_grid, field)); }

}  // namespace orvex
