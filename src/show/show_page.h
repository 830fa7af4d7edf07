// show_page.h: how the finished page reaches the user.
//
// WHAT IT IS
//   With a display, a window captioned as OPEN_PLOT_WINDOW asked holds the page and the console
//   listing until the user closes it; the window is a module (window_module.h) opened only
//   then, so a run without a display loads nothing of the toolkit. Without one (no DISPLAY or WAYLAND_DISPLAY, or the
//   connection fails), the page is written as a PNG file and one line on standard error names
//   the file.
//
// HOW TO CALL IT
//   Draw the page on the surface, then `return SHOW_PAGE();` from main (or
//   SHOW_PAGE("my_plot.png") from another program that draws on the surface).
//
// ASSUMES AND LIMITS
//   Called once, after the page is complete. Returns the process's exit status: 0 when the
//   window was closed or the PNG written, 1 when the PNG could not be written (one line on
//   standard error says why).
#pragma once

#include <span>
#include <string_view>

#include "show/page_content.h"

namespace orvex {

inline constexpr std::string_view page_png_name = "plot_orvex_3dfields.png";

// notes: what the map checks found, shown in the window above the listing (one line each).
struct plotted_page;

// plotted: what each panel of the viewer's page shows (the readout, detail windows and profile
// export use it), or null for any other picture.
// fields: the unfolded map behind the page and the way to its other field (page_content.h);
// empty for any other picture. figures: what the window's figures need beyond the grid; empty
// for any other picture.
int SHOW_PAGE(std::string_view png_name = page_png_name, std::span<const std::string_view> notes = {},
              const plotted_page* plotted = nullptr, const page_fields& fields = {},
              const page_figures& figures = {});

}  // namespace orvex
