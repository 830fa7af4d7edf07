#!/usr/bin/env bash
# Runs the viewer on the bundled example.
set -euo pipefail
build=${1:-build}
echo "demo: not ready yet"
