#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing plot_orvex_3dfields need.
# Packages already installed are skipped; safe to run again. Uses sudo when not root.
set -euo pipefail

packages=(
  # build
  cmake g++ make pkg-config
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev
  # text on the page, the PNG, the window
  libfreetype-dev libfontconfig-dev fonts-liberation2 libpng-dev qt6-base-dev libxcb1-dev
  # the real-window test: an X server without a screen, and a way to press its keys
  xvfb xdotool x11-utils x11-apps
  # fuzzing and sanitizers
  clang libclang-rt-14-dev
)

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
