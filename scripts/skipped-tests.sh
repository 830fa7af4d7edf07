#!/usr/bin/env bash
# Prints why each test of CTest's last run was skipped, one line per test, from the run's log
# (CTest itself only says "Skipped"). A GoogleTest skip gives the text after its "Skipped" line;
# a script test gives its line that starts "skipped: ".
#
#   scripts/skipped-tests.sh [BUILD]
set -euo pipefail
log="${1:-build}/Testing/Temporary/LastTest.log"
[ -f "$log" ] || exit 0
awk '
  /^[0-9]+\/[0-9]+ Test: / { name = $3; reason = ""; grab = 0; next }
  grab && /^\[  SKIPPED \]/ { grab = 0 }
  grab { reason = reason (reason == "" ? "" : " ") $0 }
  /: Skipped$/ { grab = 1 }
  /^skipped: / { reason = substr($0, 10) }
  /^Skip regular expression found in output/ {
    printf "skipped: %s: %s\n", name, (reason == "" ? "(no reason given)" : reason)
  }
' "$log"
