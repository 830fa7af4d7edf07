// show_page.h: how the finished page reaches the user.
//
// With a display, a window captioned "ORVEX-3D-Fields" holds the page and the console listing
// until the user closes it. Without one (no DISPLAY or WAYLAND_DISPLAY, or the connection
// fails), the page is written to plot_orvex_3dfields.png in the working directory and one line
// on standard error names the file.
#pragma once

#include <string_view>

namespace orvex {

inline constexpr std::string_view page_png_name = "plot_orvex_3dfields.png";

// Shows or writes the page; returns the exit status of the run (0, or 1 when the PNG could
// not be written, with one line on standard error). The window's caption is the one given to
// OPEN_PLOT_WINDOW; png_name is the file written without a display (other programs that draw
// on the surface pass their own).
int SHOW_PAGE(std::string_view png_name = page_png_name);

// Writes the page as a PNG file; false (and errno-style reason in why) on failure.
bool WRITE_PAGE_PNG(std::string_view path, std::string_view* why = nullptr);

}  // namespace orvex
