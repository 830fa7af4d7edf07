// module_open.h: finding and opening one of the program's modules by its full path, and nothing
// else. The modules are the window (show/window_module.h) and the .h5 writer
// (fieldio/h5_module.h): code with heavy libraries behind it, loaded only by the runs that use it.
//
// WHAT IT IS
//   A module is looked for in one place chosen by where the running program is, never through
//   the loader's search, the working directory or a map's directory:
//     - a program inside the build tree it was built in: that tree's lib/plot_orvex_3dfields;
//     - any other program (installed, or built against the installed library): first
//       lib/plot_orvex_3dfields beside its own bin/, then the directory the build installs to.
//   The first of these that exists is the module: if it cannot be opened the next is not tried.
//   Before the loader sees it the file is opened without blocking and checked to be a regular
//   file whose ELF segments lie inside it (a FIFO, a directory or a truncated module is refused
//   instead of hanging the run or ending it with SIGBUS), then the loader opens that same open
//   file, so the file checked is the file loaded.
//
//   The module stays loaded to the end of the process (it is never closed).
//
// HOW TO CALL IT
//   const module_opening opened = OPEN_MODULE(window_module_file, window_module_entry);
//   if (opened.entry == nullptr) say "cannot open the window module " + opened.path + ": " + opened.why;
//   const auto entry = reinterpret_cast<window_entry>(opened.entry);
//
// ASSUMES AND LIMITS
//   Linux (the program's own path from /proc/self/exe, the open file handed to the loader as
//   /proc/self/fd/N; without /proc only the install directory is tried, by name). A module
//   that is replaced while the loader reads it is not guarded against. A module whose entry is
//   missing is from another build: "it is from another build of the program". The entry is
//   the address of the symbol of that name: the caller knows whether that is a function or a
//   variable, and its type.
#pragma once

#include <string>

namespace orvex {

struct module_opening {
    void* entry = nullptr;  // the address of the entry; null when the module cannot be used
    std::string path;       // the module's full path (the one tried, when none exists)
    std::string why;        // the reason, when entry is null
};

// file: the module's file name (no directory); entry: the name of the symbol it exports.
module_opening OPEN_MODULE(const char* file, const char* entry);

}  // namespace orvex
