#!/usr/bin/env bash
# run.sh BUILD: runs every benchmark program of the build, then the viewer itself without a
# display on the largest map (both fields, all three mirrors) in the binary and the text
# layout, and prints the whole-run times and the peak resident memory of a run.
#
# Targets: a binary run within 100 ms; a text run within 1.5x of loading the text map alone;
# peak memory within 100 MB. "Loading alone" is timed as a run on the same text map whose
# flags (2, 2, 0) match no unfolding case: the run reads the whole map, lists its header and
# stops there, with no unfolding, no page and no PNG.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)

for b in "$build"/bench/bench_*; do
    if [ -x "$b" ]; then "$b"; fi
done

program="$build/src/driver/plot_orvex_3dfields"
writer="$build/tools/write_field_map"
for tool in "$program" "$writer"; do
    [ -x "$tool" ] || { echo "run.sh: $tool is not built" >&2; exit 1; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/orvex_bench_XXXXXX")
trap 'rm -rf "$work"' EXIT

# One directory per case: the map and its control file.
setup() {  # name layout format_flag sym
    mkdir -p "$work/$1"
    "$writer" --layout "$2" --kind 2 --sym "$4" --ncell 3 "$work/$1/MW_map"
    printf 'benchmark\nlargest map\nMW_map\n%s\n0\n' "$3" > "$work/$1/plot_orvex_3dfields.dat"
}
setup binary binary 0 1,1,1
setup text text 1 1,1,1
setup text_load text 1 2,2,0

# Best wall time of five headless runs in a case's directory, in milliseconds.
best_ms() {
    python3 - "$program" "$work/$1" <<'EOF'
import os, subprocess, sys, time
program, where = sys.argv[1], sys.argv[2]
env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
best = None
for _ in range(5):
    start = time.perf_counter()
    subprocess.run([program], cwd=where, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    took = (time.perf_counter() - start) * 1000.0
    best = took if best is None or took < best else best
print(f"{best:.1f}")
EOF
}

# Peak resident memory of one headless run, in MB.
peak_mb() {
    if [ -x /usr/bin/time ]; then
        (cd "$work/$1" && env -u DISPLAY -u WAYLAND_DISPLAY /usr/bin/time -v "$program" > /dev/null 2> time.txt) || true
        awk -F: '/Maximum resident set size/ { printf "%.1f\n", $2 / 1024 }' "$work/$1/time.txt"
    else
        python3 - "$program" "$work/$1" <<'EOF'
import os, sys
program, where = sys.argv[1], sys.argv[2]
env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
pid = os.fork()
if pid == 0:
    os.chdir(where)
    fd = os.open(os.devnull, os.O_WRONLY)
    os.dup2(fd, 1); os.dup2(fd, 2)
    os.execve(program, [program], env)
_, _, usage = os.wait4(pid, 0)
print(f"{usage.ru_maxrss / 1024:.1f}")
EOF
    fi
}

binary_ms=$(best_ms binary)
text_ms=$(best_ms text)
load_ms=$(best_ms text_load)
binary_mb=$(peak_mb binary)
text_mb=$(peak_mb text)

echo
echo "Headless run of the largest map (kind 2, all mirrors), best of 5:"
printf '  binary layout, whole run:      %8s ms   (target < 100 ms)\n' "$binary_ms"
printf '  text layout, whole run:        %8s ms\n' "$text_ms"
printf '  text layout, loading alone:    %8s ms\n' "$load_ms"
python3 -c "import sys; print(f'  text run / text load:          {float(sys.argv[1]) / float(sys.argv[2]):8.2f}      (target < 1.5)')" "$text_ms" "$load_ms"
printf '  peak resident memory, binary:  %8s MB   (target < 100 MB)\n' "$binary_mb"
printf '  peak resident memory, text:    %8s MB   (target < 100 MB)\n' "$text_mb"
