// h5_module.h: the .h5 writer as a module of its own, opened only when an .h5 is written.
//
// WHAT IT IS
//   MAP_AS_H5 (map_export.h) builds the file through the HDF5 library, which pulls in about
//   thirty libraries (curl, krb5, ldap, ...). So it is built into a module of its own,
//   plot_orvex_3dfields_h5.so, beside the window module, and nothing else links HDF5: a run that
//   writes no .h5 loads none of it. The module's one entry is a variable holding MAP_AS_H5's
//   address. OPEN_H5_WRITER opens the module by its full path, with the checks the window
//   module gets (console/module_open.h), and hands back that writer.
//
// HOW TO CALL IT
//   std::string why;
//   const h5_writer map_as_h5 = OPEN_H5_WRITER(&why);
//   if (map_as_h5 == nullptr || !map_as_h5(grid, request, bytes, &why)) report "cannot write x.h5: " + why;
//
// ASSUMES AND LIMITS
//   The module and the program come from one build: the entry's name carries the layout of what
//   crosses (the grid record, export_request, std::string; change its number with either), and
//   a module of another layout is not used (its entry is not found). The writer is handed all
//   it writes and reads no global record: the module holds copies of the floors it stands on,
//   whose records are others, never filled. A module that is missing, damaged, from another
//   build, or whose HDF5 library is not installed gives null and why = "the HDF5 module PATH
//   cannot be used: REASON". Once opened the module stays loaded to the end of the process.
#pragma once

#include <string>

#include "fieldio/map_export.h"

namespace orvex {

inline constexpr const char* h5_module_file = "plot_orvex_3dfields_h5.so";
inline constexpr const char* h5_module_entry = "orvex_map_as_h5_2";

// What the module's entry holds: MAP_AS_H5 itself.
using h5_writer = decltype(&MAP_AS_H5);

h5_writer OPEN_H5_WRITER(std::string* why);

}  // namespace orvex
