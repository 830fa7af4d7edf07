// import_control.h: the viewer's control file, written beside a new map whose directory has none,
// so that the map can be viewed at once.
//
// WHAT IT IS
//   WRITE_CONTROL_BESIDE writes plot_orvex_3dfields.dat in the directory of the map: two lines of
//   text (the map and what wrote it, as valid UTF-8 without control characters), the map's file
//   name as line 3, the layout's format flag (0 binary array, 1 text array, 2 node list) and the
//   field flag (0 electric, 1 magnetic). An existing control file is never touched: any entry of
//   that name (a dangling link too) is left as it is, and the new file is linked into place only
//   while the name is free (console/file_output.h).
//   A map whose name the viewer could not find through line 3 (longer than its 132 characters,
//   blanks at either end, a line break, no kind token MW, EM, PMQ or RFQ) gets none, and the
//   outcome says why.
//
// HOW TO CALL IT
//   const control_outcome o = WRITE_CONTROL_BESIDE("maps/RFQ_cell.bin", 0, 0);
//   o.done: written; else o.why ("there is one already", "its name ...")
//   o.path: "maps/plot_orvex_3dfields.dat"
//
// ASSUMES AND LIMITS
//   Called once the map itself is written. The control file's name and line rules are the
//   viewer's (driver/control_file.h).
#pragma once

#include <string>
#include <string_view>

#include "field/field_table.h"

namespace orvex::mapimport {

inline constexpr std::string_view viewer_control_file = control_file_name;  // field/field_table.h
inline constexpr std::size_t control_name_length = file_name_length;

struct control_outcome {
    bool done = false;
    bool existed = false;  // there is one already: left as it is
    std::string path;      // the control file's path
    std::string why;       // when not done
};

control_outcome WRITE_CONTROL_BESIDE(std::string_view map_path, int format_flag, int field_flag);

// "binary array", "text array", "node list"
std::string_view LAYOUT_NAME(int format_flag);

}  // namespace orvex::mapimport
