// page_run.h: the page's run, and the window it ends in.
//
// WHAT IT IS
//   PAGE_STAGES draws the page of the field line 5 asks for from the full map (the divergence
//   of that field is checked first: a note, page/plot_driver.h draws) and asks RUN_REQUEST to
//   show it. SHOW_RUN_PAGE hands the window what it shows (show/page_content.h): the page, the
//   listing, the notes, the full map, and DRAW_FIELD_PAGE, with which the window has the page of
//   the map's other field drawn: into that field's own page slot, with nothing listed, so the
//   page shown stays whole until the new one is finished, and a failed redraw leaves it as it
//   was. Without a display the page is written as the PNG.
//
// HOW TO CALL IT
//   RUN_REQUEST (run_modes.h) calls both.
//
// ASSUMES AND LIMITS
//   The full map is complete. DRAW_FIELD_PAGE refuses a field the map does not carry.
#pragma once

#include <string_view>

#include "show/page_content.h"

namespace orvex {

// Shows the page of field (0 or 1) already drawn, in a window or as the PNG; the exit status.
int SHOW_RUN_PAGE(int field);

// What the window is handed about the run's map (the full map, the field shown, DRAW_FIELD_PAGE)
// and for its figures (the program, the map's name, the map checks' notes).
page_fields RUN_PAGE_FIELDS(int field);
page_figures RUN_PAGE_FIGURES();

// Draws the page of field_flag (0 or 1) in its page slot and points content at it; false, with
// the reason in why and content unchanged, when it cannot.
bool DRAW_FIELD_PAGE(int field, page_content* content, std::string_view* why);

}  // namespace orvex
