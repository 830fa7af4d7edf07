// plot_driver.h: the last stage of a run, from the unfolded grid to the finished page.
//
// WHAT IT IS
//   PLOT_PROFILES prints the grid limits and the mesh sizes, sets up the page, then for each of
//   the ten lines prints its fixed indices, samples it and draws its three profiles into panels
//   3L - 2 to 3L, and ends with the legend. It keeps what each panel shows (plotted_page.h).
//
// HOW TO CALL IT
//   UNFOLD_GRID(); PLOT_PROFILES(FIELD_FILE_NAME()); then SHOW_PAGE() shows or writes the page.
//
// ASSUMES AND LIMITS
//   The full grid has counts (the driver stops a run whose flags match no unfolding case
//   first; checked in debug and sanitizer builds) and field_flag is 0 or 1.
#pragma once

#include <string_view>

namespace orvex {

inline constexpr std::string_view legend_text = " Q=R/4, M=R/2, U=R/sqrt(2), L=-R/sqrt(2), R=Aperture ";

// map_file is the field file's name as the control file gives it, kept with what each panel
// shows (plotted_page.h).
void PLOT_PROFILES(std::string_view map_file = {});

}  // namespace orvex
