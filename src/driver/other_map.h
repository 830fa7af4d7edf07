// other_map.h: a second map, read as a run in its directory would read it, into a record of
// its own, while the run's own map stays as it is.
//
// WHAT IT IS
//   READ_OTHER_MAP reads DIRECTORY/plot_orvex_3dfields.dat, classifies and reads the field file
//   it names (a relative name is taken from DIRECTORY), sets the flags' sum, refuses flags that
//   are not 0 or 1 and a map that matches no unfolding case, checks the map and unfolds it
//   (each field on its first request) into a heap record of its own (about 54 MB): the run's
//   field_grid, run_settings, notes and listing are not touched. Its notes are its map checks,
//   each begun with "in the other map: ". A stop while reading it is the same stop a run in
//   that directory would make, its note saying that it is about the other map; input failures
//   name the file by its path, directory included.
//   LOAD_OTHER_MAP and DROP_OTHER_MAP are what the window is handed (show/page_content.h):
//   the first reads a map and gives it (or null and the reason), the second frees it.
//
// HOW TO CALL IT
//   const std::unique_ptr<other_map> other = READ_OTHER_MAP("../v2");   // may throw run_stop
//   const other_map* o = LOAD_OTHER_MAP("../v2", &why);  ...  DROP_OTHER_MAP(o);
//
// ASSUMES AND LIMITS
//   Writes nothing to the console and raises no note of the run. One thread at a time.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "field/compare.h"

namespace orvex {

std::unique_ptr<other_map> READ_OTHER_MAP(std::string_view directory);

const other_map* LOAD_OTHER_MAP(std::string_view directory, std::string* why);
void DROP_OTHER_MAP(const other_map* map);

}  // namespace orvex
