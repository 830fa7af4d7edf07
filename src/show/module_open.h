// module_open.h: finding and opening the window module by its full path, and nothing else.
//
// WHAT IT IS
//   The window module is looked for in one place chosen by where the running program is, never
//   through the loader's search, the working directory or a map's directory:
//     - a program inside the build tree it was built in: that tree's lib/plot_orvex_3dfields;
//     - any other program (installed, or built against the installed library): first
//       lib/plot_orvex_3dfields beside its own bin/, then the directory the build installs to.
//   The first of these that exists is the module: if it cannot be opened the next is not tried.
//   Before the loader sees it the file is opened without blocking and checked to be a regular
//   file whose ELF segments lie inside it (a FIFO, a directory or a truncated module is refused
//   instead of hanging the run or ending it with SIGBUS), then the loader opens that same open
//   file, so the file checked is the file loaded.
//
// HOW TO CALL IT
//   const module_opening opened = OPEN_WINDOW_MODULE();
//   if (opened.entry == nullptr) say "cannot open the window module " + opened.path + ": " + opened.why;
//
// ASSUMES AND LIMITS
//   Linux (the program's own path from /proc/self/exe, the open file handed to the loader as
//   /proc/self/fd/N; without /proc only the install directory is tried, by name). A module
//   that is replaced while the loader reads it is not guarded against. A module whose entry is
//   missing is from another build: "it is from another build of the program".
#pragma once

#include <string>

#include "show/window_module.h"

namespace orvex {

struct module_opening {
    window_entry entry = nullptr;  // null when the module cannot be used
    std::string path;              // the module's full path (the one tried, when none exists)
    std::string why;               // the reason, when entry is null
};

module_opening OPEN_WINDOW_MODULE();

}  // namespace orvex
