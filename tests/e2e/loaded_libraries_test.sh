#!/usr/bin/env bash
# loaded_libraries_test.sh PROGRAM WRITER H5_MODULE: the program links no HDF5, curl or Qt; a
# headless run and a .vti export load none of them (the loader's own account, LD_DEBUG); an .h5
# export loads HDF5 through the .h5 module, which exports its one entry and nothing else.
set -euo pipefail
program=$(realpath "$1") writer=$2 module=$3 unwanted='libhdf5|libcurl|libQt6'
fail() { echo "loaded libraries test: $*" >&2; exit 1; }
work=$(mktemp -d "${TMPDIR:-/tmp}/orvex_libraries_XXXXXX")
trap 'rm -rf "$work"' EXIT
linked=$(ldd "$program")
grep -q 'libc\.so' <<< "$linked" && ! grep -E "$unwanted" <<< "$linked" || fail "$program links that, or ldd failed"
grep -q libhdf5 <<< "$(ldd "$module")" || fail "$module does not link HDF5"
# (A sanitizer build adds its own __odr_asan mark beside the entry.)
[[ "$(nm -D --defined-only "$module" | awk '$3 !~ /^__odr_asan/ { print $3 }')" =~ ^orvex_map_as_h5_[0-9]+$ ]] ||
  fail "$module exports more than its entry"

"$writer" --layout binary --kind 2 --sym 1,1,1 --model harmonic "$work/MW_map" > /dev/null
printf 'loaded libraries\nheadless\nMW_map\n0\n0\n' > "$work/plot_orvex_3dfields.dat"
# loaded NAME ARGUMENTS...: the libraries the loader opened for a headless run.
loaded() {
  (cd "$work" && env -u DISPLAY -u WAYLAND_DISPLAY LD_DEBUG=files LD_DEBUG_OUTPUT="$work/$1.ld" \
    "$program" "${@:2}" > /dev/null 2>&1) || fail "the $1 run failed"
  sed -n 's/.*file=\([^ ]*\).*/\1/p' "$work/$1".ld.* | sort -u
}
for run in page vti; do
  if [ $run = page ]; then libraries=$(loaded page); else libraries=$(loaded vti --export map.vti); fi
  grep -q libpng <<< "$libraries" && ! grep -E "$unwanted|_h5\.so" <<< "$libraries" || fail "the $run run loads that"
done
grep -q libhdf5 <<< "$(loaded h5 --export map.h5)" || fail "the .h5 run loads no HDF5"
[ "$(head -c 8 "$work/map.h5" | od -An -tx1 | tr -d ' \n')" = 894844460d0a1a0a ] || fail "map.h5 is not HDF5"
