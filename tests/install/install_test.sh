#!/usr/bin/env bash
# install_test.sh: the project as a user gets it, in a temporary directory removed at the end:
# cmake --install into a prefix; examples/histo_demo copied out of the tree and built against it
# (CMake and pkg-config) and run; the installed viewer run from elsewhere on a map written by the
# installed writer, and as .h5 (the installed module); both man pages rendered by man -l without
# a warning; the Debian package's name, fields, Depends and files (exactly the prefix's). CTest
# gives the build's facts in ORVEX_*.
set -euo pipefail
work=$(mktemp -d "${TMPDIR:-/tmp}/orvex_install_XXXXXX")
work=$(cd "$work" && pwd -P)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "install test: $*" >&2
  exit 1
}
# Runs a step with its output aside, shown only when it fails.
quiet() { "$@" > "$work/step.log" 2>&1 || fail "failed: $* $(cat "$work/step.log")"; }
headless() { env -u DISPLAY -u WAYLAND_DISPLAY "$@"; }
prefix=$work/prefix demo=$work/histo_demo case_dir=$work/case
quiet cmake --install "$ORVEX_BUILD_DIR" --prefix "$prefix"
# No installed program or module carries a run path: code is loaded from the system's library
# directories and the module by its full path only.
for elf in "$prefix"/bin/* "$prefix/$ORVEX_LIBDIR"/plot_orvex_3dfields/*.so; do
  [ -e "$elf" ] || continue
  ! readelf -d "$elf" | grep -E 'RPATH|RUNPATH' || fail "$elf has a run path"
done

mkdir "$demo" "$case_dir"
cp "$ORVEX_SOURCE_DIR"/examples/histo_demo/{CMakeLists.txt,histo_demo.cpp} "$demo"
quiet cmake -S "$demo" -B "$demo/build" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_CXX_COMPILER="$ORVEX_CXX" \
  -DCMAKE_EXE_LINKER_FLAGS="$ORVEX_LINK_FLAGS"
quiet cmake --build "$demo/build"
(cd "$demo" && quiet headless build/histo_demo) && [ -s "$demo/histo_demo.png" ] || fail "histo_demo drew no page"
pc_flags=$(PKG_CONFIG_PATH="$prefix/$ORVEX_LIBDIR/pkgconfig" pkg-config --cflags --libs orvex_histo)
# The histogram library stands on the console, the surface and the show stage only.
case " $pc_flags " in
  *orvex_field*|*orvex_page*|*orvex_plot*) fail "pkg-config --libs orvex_histo names the field model or the page: $pc_flags" ;;
esac
# The Cflags carry the language level the headers need: no -std here.
# shellcheck disable=SC2086  # the flags are words
quiet "$ORVEX_CXX" $ORVEX_LINK_FLAGS "$demo/histo_demo.cpp" -o "$demo/histo_demo_pc" $pc_flags

# The recipe in the installed histo.h, built as it stands, draws a white page with a black frame
# and numbers and a red curve, and says under its own name where the page went.
recipe=$work/recipe
mkdir "$recipe"
sed -n '/^\/\/ HOW TO CALL IT/,/^\/\/ THE RULES/p' "$prefix/include/orvex/histo/histo.h" | sed -n 's|^//     ||p' \
  > "$recipe/my_plot.cpp"
# shellcheck disable=SC2086  # the flags are words
quiet "$ORVEX_CXX" $ORVEX_LINK_FLAGS "$recipe/my_plot.cpp" -o "$recipe/my_plot" $pc_flags
(cd "$recipe" && headless ./my_plot > out 2> err) || fail "recipe: $(cat "$recipe/err")"
[ "$(cat "$recipe/err")" = "my_plot: no display; the page is written to $recipe/my_plot.png" ] ||
  fail "recipe: $(cat "$recipe/err")"
python=python3
[ -x /usr/bin/python3 ] && python=/usr/bin/python3
# The page's pixels decoded with zlib alone: white, black and pure red counted.
"$python" - "$recipe/my_plot.png" > "$recipe/colours" << 'EOF' || fail "recipe's page cannot be read"
import struct, sys, zlib
data = open(sys.argv[1], 'rb').read()
at, idat = 8, b''
while at < len(data):
    length, kind = struct.unpack('>I4s', data[at:at + 8])
    if kind == b'IHDR':
        width, height, depth, colour = struct.unpack('>IIBB', data[at + 8:at + 18])
    elif kind == b'IDAT':
        idat += data[at + 8:at + 8 + length]
    at += 12 + length
assert depth == 8 and colour == 2, 'an 8-bit RGB picture'
raw, stride, previous = zlib.decompress(idat), 3 * width, bytearray(3 * width)
count = {(255, 255, 255): 0, (0, 0, 0): 0, (255, 0, 0): 0}
for y in range(height):
    line = raw[y * (stride + 1):(y + 1) * (stride + 1)]
    kind, row = line[0], bytearray(line[1:])
    for i in range(stride):
        a, b, c = row[i - 3] if i >= 3 else 0, previous[i], previous[i - 3] if i >= 3 else 0
        p = a + b - c
        near = a if abs(p - a) <= min(abs(p - b), abs(p - c)) else b if abs(p - b) <= abs(p - c) else c
        row[i] = (row[i] + (0, a, b, (a + b) // 2, near)[kind]) & 0xFF
    for x in range(width):
        rgb = tuple(row[3 * x:3 * x + 3])
        if rgb in count:
            count[rgb] += 1
    previous = row
print(count[(255, 255, 255)] > width * height // 2, count[(0, 0, 0)] > 1000, count[(255, 0, 0)] > 100)
EOF
[ "$(cat "$recipe/colours")" = "True True True" ] ||
  fail "the recipe's page is not white with black and red on it: $(cat "$recipe/colours")"

# A field free of divergence, so that standard error holds no note.
quiet "$prefix/bin/write_field_map" --layout text --kind 1 --sym 1,1,0 --model harmonic "$case_dir/EM_map.txt"
printf 'install test\nthe installed viewer\nEM_map.txt\n1\n1\n' > "$case_dir/plot_orvex_3dfields.dat"
(cd "$work" && headless "$prefix/bin/plot_orvex_3dfields" "$case_dir" > out 2> err) || fail "viewer: $(cat "$work/err")"
[ "$(head -n 1 "$work/out")" = " Input field file name = EM_map.txt" ] || fail "listing: $(cat "$work/out")"
[ "$(cat "$work/err")" = "plot_orvex_3dfields: no display; the page is written to $case_dir/plot_orvex_3dfields.png" ] &&
  [ -s "$case_dir/plot_orvex_3dfields.png" ] || fail "page: $(cat "$work/err")"
(cd "$work" && headless "$prefix/bin/plot_orvex_3dfields" --export "$case_dir/map.h5" "$case_dir" > out 2> err) ||
  fail "export: $(cat "$work/err")"
[ "$(head -c 8 "$case_dir/map.h5" | od -An -tx1 | tr -d ' \n')" = 894844460d0a1a0a ] || fail "the exported map.h5 is not HDF5"

for page in plot_orvex_3dfields write_field_map; do
  MANWIDTH=80 man --warnings -l "$prefix/share/man/man1/$page.1" 2>&1 > "$work/$page.txt" | grep . &&
    fail "$page.1 renders with warnings"
  grep -q '^EXIT STATUS' "$work/$page.txt" || fail "$page.1 renders without its EXIT STATUS"
done

quiet cpack --config "$ORVEX_BUILD_DIR/CPackConfig.cmake" -B "$work/package" -G DEB
deb=$work/package/plot-orvex-3dfields_${ORVEX_VERSION}_$(dpkg --print-architecture).deb
[ "$(dpkg-deb -f "$deb" Package Version)" = "Package: plot-orvex-3dfields
Version: $ORVEX_VERSION" ] || fail "$deb: $(dpkg-deb -f "$deb" Package Version)"
needed="libpng16-16 libfreetype6 libfontconfig1 fonts-liberation2 libhdf5-"
[ "$ORVEX_WITH_WINDOW" = ON ] && needed="$needed libqt6widgets6"
for package in $needed; do
  [[ ", $(dpkg-deb -f "$deb" Depends)" == *", $package"* ]] || fail "Depends lacks $package"
done
(cd "$prefix" && find . -type f | sort) > "$work/prefix.files"
dpkg-deb -c "$deb" | awk '{ print $6 }' | grep -v '/$' | sed 's|^\./usr/|./|' | sort > "$work/deb.files"
diff "$work/prefix.files" "$work/deb.files" || fail "the package's files are not the prefix's"
