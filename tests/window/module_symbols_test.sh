#!/usr/bin/env bash
# module_symbols_test.sh: the window module defines none of the program's records. What the
# window shows it is handed (page_content); a record defined in the module would be a second,
# empty copy of the program's (a global does not cross the module boundary), so the window would
# show nothing of the run. Fails, naming them, when the module defines the console log, the
# field grid, the profiles, the page's tables or the surface's state. The .h5 module too is
# checked, with MAP_AS_H5 as the symbol of its own that shows nm read it.
set -euo pipefail
module=${1:?the window module} own=${2:-RUN_PAGE_WINDOW}
[ -f "$module" ] || { echo "module symbols test: no module at $module" >&2; exit 1; }
records='orvex::field_grid$|profile_stores?$|console_log_text$|console_log_length$|orvex::panel_table$|orvex::colour_table$|surface_detail::.*the_surfaces?$|the_pages$'
symbols=$(nm -C --defined-only "$module")
# The check itself: the module's own state is there, so nm did read it.
grep -q "$own" <<< "$symbols" || { echo "module symbols test: nm read nothing of $module" >&2; exit 1; }
# Defined data symbols (initialised, zero-initialised or read-only), demangled.
found=$(awk '$2 ~ /^[bBdDrR]$/ { $1 = ""; $2 = ""; sub(/^  /, ""); print }' <<< "$symbols" | grep -E "$records" || true)
if [ -n "$found" ]; then
  echo "module symbols test: $module defines records of the program:" >&2
  echo "$found" >&2
  exit 1
fi
