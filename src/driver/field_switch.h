// field_switch.h: the page of a run for either field of a map that carries both.
//
// WHAT IT IS
//   The window may show the page of the field the control file did not ask for (View >
//   Electric Field, View > Magnetic Field). DRAW_FIELD_PAGE draws it on the surface as a run
//   whose control file asks for that field would: it unfolds that field's triple first if this
//   run has not (a run without a display never comes here, so it unfolds and draws only what
//   line 5 asks for), plots the ten lines with the console quiet and the listing left as it was
//   (the records would repeat those already listed), and labels the page's PNG for that field.
//   PAGE_FIELDS gives what SHOW_PAGE hands the window about the map.
//
// HOW TO CALL IT
//   after PLOT_PROFILES: LABEL_PAGE_PNG(); return SHOW_PAGE(name, notes, &PLOTTED_PAGE(), PAGE_FIELDS());
//   the window: content.fields.draw_field(1, &content, &why)
//
// ASSUMES AND LIMITS
//   The run has unfolded the grid and plotted its page. A field the map does not carry is
//   refused (false, with the reason). The date stamp is the time of the redraw.
#pragma once

#include <string_view>

#include "show/page_content.h"

namespace orvex {

// The grid, the field shown, whether the map carries both, and DRAW_FIELD_PAGE; called once the
// page is plotted (it notes that the triple of field_flag is the one unfolded).
page_fields PAGE_FIELDS();

bool DRAW_FIELD_PAGE(int field_flag, page_content* content, std::string_view* why);

// Unfolds the triple of field_flag if this run has not (nothing drawn); false for a field the
// map does not carry.
bool UNFOLD_FIELD(int field_flag);

// The page's PNG names the program, the map and the field plotted.
void LABEL_PAGE_PNG();

}  // namespace orvex
