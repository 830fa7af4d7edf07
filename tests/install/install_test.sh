#!/usr/bin/env bash
# install_test.sh: the project as a user gets it, in one temporary directory removed at the end.
#   1. cmake --install into a temporary prefix;
#   2. examples/histo_demo copied out of the tree and built against that prefix, with CMake
#      (find_package(orvex_histo)) and with pkg-config, and the CMake build run;
#   3. the installed viewer run on a map written by the installed writer, from another
#      directory, naming the map's directory; --version and write_field_map --help;
#   4. both man pages rendered by man -l without a warning;
#   5. the Debian package: its name, control fields, and exactly the files of the prefix.
# CTest hands it the build's facts in ORVEX_* variables (tests/CMakeLists.txt).
set -euo pipefail
build=$ORVEX_BUILD_DIR
source=$ORVEX_SOURCE_DIR
libdir=$ORVEX_LIBDIR
version=$ORVEX_VERSION

work=$(mktemp -d "${TMPDIR:-/tmp}/orvex_install_XXXXXX")
work=$(cd "$work" && pwd -P)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "install test: $*" >&2
  exit 1
}
# Runs a step with its output kept aside, shown only when it fails.
quiet() {
  "$@" > "$work/step.log" 2>&1 || {
    cat "$work/step.log" >&2
    fail "failed: $*"
  }
}
headless() { env -u DISPLAY -u WAYLAND_DISPLAY "$@"; }

# 1. The prefix.
prefix=$work/prefix
quiet cmake --install "$build" --prefix "$prefix"
for file in bin/plot_orvex_3dfields bin/write_field_map \
    share/man/man1/plot_orvex_3dfields.1 share/man/man1/write_field_map.1 \
    share/doc/plot_orvex_3dfields/LICENSE \
    include/orvex/histo/histo.h include/orvex/plot/surface.h include/orvex/plot/pen.h \
    include/orvex/plot/axis_numbers.h include/orvex/plot/png_output.h \
    include/orvex/console/console.h include/orvex/console/run_stop.h include/orvex/window/show_page.h \
    "$libdir/liborvex_histo.a" "$libdir/cmake/orvex_histo/orvex_histoConfig.cmake" \
    "$libdir/pkgconfig/orvex_histo.pc"; do
  [ -f "$prefix/$file" ] || fail "$file is not installed"
done

# 2. The library example outside the tree: CMake, then pkg-config.
demo=$work/histo_demo
mkdir "$demo"
cp "$source/examples/histo_demo/CMakeLists.txt" "$source/examples/histo_demo/histo_demo.cpp" "$demo"
quiet cmake -S "$demo" -B "$demo/build" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_CXX_COMPILER="$ORVEX_CXX" \
    -DCMAKE_EXE_LINKER_FLAGS="$ORVEX_LINK_FLAGS"
quiet cmake --build "$demo/build"
mkdir "$work/run"
(cd "$work/run" && quiet headless "$demo/build/histo_demo")
[ -s "$work/run/histo_demo.png" ] || fail "histo_demo built against the prefix wrote no histo_demo.png"
pc_flags=$(PKG_CONFIG_PATH="$prefix/$libdir/pkgconfig" pkg-config --cflags --libs orvex_histo) ||
  fail "pkg-config does not find orvex_histo in the prefix"
# shellcheck disable=SC2086  # the flags are words
quiet "$ORVEX_CXX" -std=c++20 $ORVEX_LINK_FLAGS "$demo/histo_demo.cpp" -o "$demo/histo_demo_pc" $pc_flags

# 3. The installed programs, started from elsewhere.
case_dir=$work/case
mkdir "$case_dir"
quiet "$prefix/bin/write_field_map" --layout text --kind 1 --sym 1,1,0 "$case_dir/EM_map.txt"
printf 'install test\nthe installed viewer\nEM_map.txt\n1\n1\n' > "$case_dir/plot_orvex_3dfields.dat"
(cd "$work" && headless "$prefix/bin/plot_orvex_3dfields" "$case_dir" > viewer.out 2> viewer.err) ||
  fail "the installed viewer failed: $(cat "$work/viewer.err")"
[ "$(head -n 1 "$work/viewer.out")" = " Input field file name = EM_map.txt" ] || fail "no listing: $(cat "$work/viewer.out")"
[ "$(cat "$work/viewer.err")" = "plot_orvex_3dfields: no display; the page is written to $case_dir/plot_orvex_3dfields.png" ] ||
  fail "the PNG's line is $(cat "$work/viewer.err")"
[ -s "$case_dir/plot_orvex_3dfields.png" ] || fail "the installed viewer wrote no page"
[ "$("$prefix/bin/plot_orvex_3dfields" --version)" = "plot_orvex_3dfields $version" ] || fail "--version"
"$prefix/bin/write_field_map" --help | grep -q -e '--layout' || fail "write_field_map --help lists no --layout"

# 4. The man pages.
for page in plot_orvex_3dfields write_field_map; do
  MANWIDTH=80 man --warnings -l "$prefix/share/man/man1/$page.1" > "$work/$page.txt" 2> "$work/$page.err" ||
    fail "man -l $page.1 failed"
  [ ! -s "$work/$page.err" ] || fail "$page.1: $(cat "$work/$page.err")"
  grep -q '^EXIT STATUS' "$work/$page.txt" || fail "$page.1 renders without its EXIT STATUS"
done

# 5. The Debian package.
quiet cpack --config "$build/CPackConfig.cmake" -B "$work/package" -G DEB
deb=$work/package/plot-orvex-3dfields_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no $(basename "$deb"): $(ls "$work/package")"
[ "$(dpkg-deb -f "$deb" Package)" = plot-orvex-3dfields ] || fail "Package field"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "Version field"
depends=$(dpkg-deb -f "$deb" Depends)
needed="libpng16-16 libfreetype6 libfontconfig1 fonts-liberation2"
[ "$ORVEX_WITH_WINDOW" = ON ] && needed="$needed libqt6widgets6"
for package in $needed; do
  [[ ", $depends" == *", $package"* ]] || fail "Depends lacks $package: $depends"
done
(cd "$prefix" && find . -type f | sort) > "$work/prefix.files"
dpkg-deb -c "$deb" | awk '{ print $6 }' | grep -v '/$' | sed 's|^\./usr/|./|' | sort > "$work/deb.files"
diff "$work/prefix.files" "$work/deb.files" > "$work/files.diff" ||
  fail "the package's files differ from the prefix's: $(cat "$work/files.diff")"
