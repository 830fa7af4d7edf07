// plot_driver.h: the last stage of a run, from the full map to the finished page.
//
// WHAT IT IS
//   PLOT_PROFILES draws the page of one field of the full map: it prints the grid limits and
//   the mesh sizes, sets up the page, then for each of the ten lines prints its fixed indices,
//   samples it and draws its three profiles into panels 3L - 2 to 3L, and ends with the legend.
//   It keeps what each panel shows (plotted_page.h) and labels the page's PNG. The page of field
//   f is drawn in page slot f of the surface (surface.h), so drawing the page of the map's
//   other field leaves a finished page as it is.
//
// HOW TO CALL IT
//   UNFOLD_GRID(...); PLOT_PROFILES(field_grid.full, field, FIELD_FILE_NAME(), page_listing::printed);
//   then SHOW_PAGE() shows or writes the page.
//
// ASSUMES AND LIMITS
//   The full map has counts (the driver stops a run whose flags match no unfolding case first;
//   checked in debug and sanitizer builds). field is 0 (electric) or 1 (magnetic). With
//   page_listing::none nothing reaches the console (a page drawn again for the window, whose
//   listing the run has written).
#pragma once

#include <string_view>

#include "field/full_map.h"

namespace orvex {

inline constexpr std::string_view legend_text = " Q=R/4, M=R/2, U=R/sqrt(2), L=-R/sqrt(2), R=Aperture ";

enum class page_listing { printed, none };

// map_file is the field file's name as the control file gives it, kept with what each panel
// shows (plotted_page.h); software names the program in the PNG's labels.
void PLOT_PROFILES(const full_map& m, int field, std::string_view map_file, page_listing listing,
                   std::string_view software = {});

}  // namespace orvex
