// page_window.h: the desktop window that shows the finished page and the console listing.
//
// This pair of files is the only code that includes Qt. show_page.cpp asks whether a window
// can be shown at all before anything of Qt starts, so a missing or broken display never
// aborts the process.
#pragma once

#include <string_view>

namespace orvex {

// True when a display is configured (DISPLAY or WAYLAND_DISPLAY) and a connection to it can be
// opened now, with a Qt platform plugin to match. Starts nothing of Qt's.
bool PAGE_WINDOW_POSSIBLE();

// Shows the page and the console listing in one maximised window captioned with the plot
// window's caption and returns 0 when the user closes it. Assumes PAGE_WINDOW_POSSIBLE(). If
// the toolkit still cannot start, the page is written to png_name as without a display.
int RUN_PAGE_WINDOW(std::string_view png_name);

}  // namespace orvex
