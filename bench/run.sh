#!/usr/bin/env bash
set -euo pipefail
build=${1:-build}
for b in "$build"/bench/bench_*; do [ -x "$b" ] && "$b"; done
