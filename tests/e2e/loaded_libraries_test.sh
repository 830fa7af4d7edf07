#!/usr/bin/env bash
# loaded_libraries_test.sh PROGRAM WRITER H5_MODULE: a run loads only what it uses. The program
# links neither HDF5 nor what HDF5 pulls in (curl) nor the toolkit; a headless run and a .vti
# export load none of them; an .h5 export loads HDF5 through the .h5 module and writes the file;
# the module exports its one entry and nothing else. What the loader loads is read from its own
# account (LD_DEBUG=files), one file per process.
set -euo pipefail
program=$(realpath "${1:?the program}") writer=${2:?the map writer} module=${3:?the .h5 module}
fail() {
  echo "loaded libraries test: $*" >&2
  exit 1
}
work=$(mktemp -d "${TMPDIR:-/tmp}/orvex_libraries_XXXXXX")
trap 'rm -rf "$work"' EXIT
unwanted='libhdf5|libcurl|libQt6'

# What the program needs before it runs.
linked=$(ldd "$program")
grep -q 'libc\.so' <<< "$linked" || fail "ldd read nothing of $program: $linked"
found=$(grep -E "$unwanted" <<< "$linked" || true)
[ -z "$found" ] || fail "$program links $found"
grep -q 'libhdf5' <<< "$(ldd "$module")" || fail "$module does not link HDF5"

# The module's dynamic symbols: its entry alone.
exported=$(nm -D --defined-only "$module" | awk '{ print $3 }')
[[ "$exported" =~ ^orvex_map_as_h5_[0-9]+$ ]] || fail "$module exports more than its entry: $exported"

# loaded NAME ARGUMENTS...: runs the program headless in the map's directory and prints the
# libraries the loader opened for it.
"$writer" --layout binary --kind 2 --sym 1,1,1 --model harmonic "$work/MW_map" > /dev/null
printf 'loaded libraries\nheadless\nMW_map\n0\n0\n' > "$work/plot_orvex_3dfields.dat"
loaded() {
  local name=$1
  shift
  (cd "$work" && env -u DISPLAY -u WAYLAND_DISPLAY LD_DEBUG=files LD_DEBUG_OUTPUT="$work/$name.ld" \
    "$program" "$@" > "$work/$name.out" 2> "$work/$name.err") || fail "$name run: $(cat "$work/$name.err")"
  cat "$work/$name".ld.* | sed -n 's/.*file=\([^ ]*\).*/\1/p' | sort -u
}
for run in page vti; do
  arguments=()
  [ "$run" = vti ] && arguments=(--export map.vti)
  libraries=$(loaded "$run" "${arguments[@]}")
  grep -q 'libpng' <<< "$libraries" || fail "LD_DEBUG told nothing of the $run run: $libraries"
  found=$(grep -E "$unwanted|plot_orvex_3dfields_h5" <<< "$libraries" || true)
  [ -z "$found" ] || fail "the $run run loads $found"
done
[ -s "$work/plot_orvex_3dfields.png" ] && [ -s "$work/map.vti" ] || fail "the page or the .vti is not written"

libraries=$(loaded h5 --export map.h5)
grep -q 'libhdf5' <<< "$libraries" || fail "the .h5 run loads no HDF5: $libraries"
[ "$(head -c 8 "$work/map.h5" | od -An -tx1 | tr -d ' \n')" = 894844460d0a1a0a ] || fail "map.h5 is not an HDF5 file"
