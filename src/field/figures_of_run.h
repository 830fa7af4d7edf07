// figures_of_run.h: the figures' inputs and notes of the run's own field grid.
//
// WHAT IT IS
//   FIGURE_LINES_OF_RUN gives the ten lines (axis, title, fixed nodes) on the run's full grid,
//   as the page places them. CHECK_DIVERGENCE adds the divergence note of a field of the run's
//   grid to the map notes (map_checks.h) when its figure passes divergence_note_threshold, in
//   the form of the other notes:
//     the divergence of B reaches 0.36 of its terms at node (2, 2, 271) (x = -1.4, y = -1.4,
//         z = 24 cm): a component's sign, axis or unit may be wrong
//   Like every note, it changes nothing else.
//
// HOW TO CALL IT
//   UNFOLD_GRID(...);  const std::size_t before = MAP_NOTES().size();
//   CHECK_DIVERGENCE(field_grid.field_flag);   // then report MAP_NOTES() from before on
//
// ASSUMES AND LIMITS
//   UNFOLD_GRID has run and filled the field's full arrays. These touch the run's own records:
//   the window uses figures.h on the grid it is handed instead.
#pragma once

#include <optional>

#include "field/figures.h"

namespace orvex {

figure_lines FIGURE_LINES_OF_RUN();

// The note of a divergence figure already computed, or of the field's own check.
void NOTE_DIVERGENCE(int field, const std::optional<divergence_figures>& d);
void CHECK_DIVERGENCE(int field);

}  // namespace orvex
