#!/usr/bin/env bash
# Runs every fuzz harness for a bounded time and reports its executions.
#
#   fuzz/run.sh BUILD SECONDS [HARNESS...]
#
# Each harness starts from its seeds (fuzz/seeds/<harness>, never written) plus the corpus it
# grew in earlier runs (BUILD/corpus/<harness>). A finding is saved as BUILD/artifacts/
# <harness>-crash-... (or -leak-, -timeout-, -oom-); the script then goes on with the other
# harnesses and exits 1 at the end. The libFuzzer log of each run is BUILD/logs/<harness>.log.
set -uo pipefail
build=$(cd "$1" && pwd)
seconds=$2
shift 2
top=$(cd "$(dirname "$0")/.." && pwd)
harnesses=("$@")
if [ ${#harnesses[@]} -eq 0 ]; then
  harnesses=(control_file freeform binary_arrays text_arrays node_list vplot hfill)
fi

# Longest input per harness: enough for every header and a few records or lines, and for a
# whole profile (801 points) in the plot.
max_len() {
  case "$1" in
    control_file) echo 1024 ;;
    vplot) echo 12817 ;;
    hfill) echo 16384 ;;
    *) echo 4096 ;;
  esac
}

export LSAN_OPTIONS="suppressions=$top/fuzz/lsan.supp:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
mkdir -p "$build/corpus" "$build/artifacts" "$build/logs"
failed=0
for h in "${harnesses[@]}"; do
  exe="$build/fuzz_$h"
  if [ ! -x "$exe" ]; then echo "fuzz: $exe is not built" >&2; failed=1; continue; fi
  mkdir -p "$build/corpus/$h"
  log="$build/logs/$h.log"
  "$exe" -max_total_time="$seconds" -max_len="$(max_len "$h")" -timeout=10 -rss_limit_mb=4096 \
    -print_final_stats=1 -artifact_prefix="$build/artifacts/$h-" \
    "$build/corpus/$h" "$top/fuzz/seeds/$h" > "$log" 2>&1
  status=$?
  runs=$(grep -Eo 'stat::number_of_executed_units: *[0-9]+' "$log" | grep -Eo '[0-9]+$' | tail -1)
  corpus=$(ls "$build/corpus/$h" | wc -l)
  if [ $status -eq 0 ]; then
    printf 'fuzz: %-14s %12s executions in %ss, corpus %s, no finding\n' "$h" "${runs:-?}" "$seconds" "$corpus"
  else
    printf 'fuzz: %-14s FINDING (exit %s), see %s\n' "$h" "$status" "$log"
    grep -E '^(==[0-9]+==ERROR|SUMMARY|.*runtime error)' "$log" | head -3
    failed=1
  fi
done
exit $failed
