// window_module.h: the window as a module of its own, opened only when there is a display.
//
// WHAT IT IS
//   Everything that links the toolkit is built into one small shared library,
//   plot_orvex_3dfields_window.so, with a single entry. A run without a display never opens it,
//   so a headless run loads nothing of the toolkit and runs where the toolkit is not installed
//   at all. SHOW_PAGE opens it with dlopen by its full path only (console/module_open.h: the build
//   tree's for a program in the tree, lib/plot_orvex_3dfields beside an installed program's
//   bin/, or the directory it was installed to), never by its bare name.
//
// HOW TO CALL IT
//   auto entry = reinterpret_cast<window_entry>(dlsym(module, window_module_entry));
//   const int status = entry(&content);  // window_not_possible: write the PNG instead
//
// ASSUMES AND LIMITS
//   The module and the program come from one build: the entry's name carries the layout of
//   page_content, and a module of another layout is not used (its entry is not found).
#pragma once

#include "show/page_content.h"

namespace orvex {

inline constexpr const char* window_module_file = "plot_orvex_3dfields_window.so";
inline constexpr const char* window_module_entry = "orvex_page_window_entry_3";
inline constexpr int window_not_possible = -1;

// Shows the page in a window and returns the run's exit status when it is closed, or
// window_not_possible (nothing shown) when no display can be used.
using window_entry = int (*)(const page_content* content);

}  // namespace orvex
