#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing plot_orvex_3dfields need.
# Packages already installed are skipped; safe to run again. Uses sudo when not root.
#
#   install-deps.sh         what the build, the tests and the demo need
#   install-deps.sh bench   that, and the peers the whole-run benchmark compares against
set -euo pipefail

packages=(
  # build
  cmake g++ make pkg-config
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev
  # text on the page, the PNG, the window
  libfreetype-dev libfontconfig-dev fonts-liberation2 libpng-dev qt6-base-dev libxcb1-dev
  # the detail windows (charts, whose CMake package needs the OpenGL one) and the page as SVG
  qt6-charts-dev libqt6opengl6-dev qt6-svg-dev
  # the real-window test: an X server without a screen, and a way to press its keys
  xvfb xauth xdotool x11-utils x11-apps
  # the window test under a comma-decimal locale makes de_DE.UTF-8 with localedef
  locales
  # make package (CPack finds the programs' runtime packages with dpkg-shlibdeps) and the
  # install test (man pages rendered with man -l)
  dpkg-dev file man-db
  # fuzzing and sanitizers
  clang libclang-rt-14-dev
  # the map as an openPMD field mesh (HDF5) and the figures as JSON
  libhdf5-dev nlohmann-json3-dev
  # the tests that load every CSV the program writes as numpy and pandas would
  python3-numpy python3-pandas
  # the PDF's zlib, and the slice pictures' PDF and SVG drawn back as their readers draw them
  zlib1g-dev poppler-utils librsvg2-bin
)

# bench/run.sh: a numpy + matplotlib script and two Fortran text readers to time our runs against
bench_packages=(python3-numpy python3-matplotlib gfortran)

case "${1:-}" in
  "") ;;
  bench) packages+=("${bench_packages[@]}") ;;
  *) echo "usage: install-deps.sh [bench]" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
