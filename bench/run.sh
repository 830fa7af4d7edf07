#!/usr/bin/env bash
# run.sh BUILD: runs every benchmark program of the build, then whole headless runs of the viewer
# side by side with two peers, on the largest map (both fields, n_cell 3, all three mirrors) in
# each layout: binary, text arrays, node list.
#
# The peers, in bench/peers/:
#   plot_map.py                the same run as a numpy + matplotlib script (Debian's python3):
#                              reads the map, unfolds it, saves the 30 profiles as a PNG;
#   read_text_arrays.f90,      a plain list-directed READ of the whole text file and nothing
#   read_node_list.f90         else, compiled with gfortran -O2 here at run time.
#
# For each layout: the median (and best) wall time of several headless runs (DISPLAY and
# WAYLAND_DISPLAY removed) of our program, of the script in the same directory and, for the two
# text layouts, of the matching Fortran read of the same file; and the peak resident memory of
# each. Targets, on the ratios of the medians:
#   - our run at least 40x faster than the numpy + matplotlib script, in every layout;
#   - our text-array run and our node-list run at least 3x faster than the Fortran read alone;
#   - peak resident memory of our headless run within 64 MB;
#   - our --figures run (both fields unfolded, every figure, the best beta at 352.21 MHz) within
#     1.5 times our headless run.
# A peer whose tools are missing (`bash scripts/install-deps.sh bench` installs them) is named on
# one line and its comparison skipped.
#
# run.sh BUILD EARLIER: also compares our program with the one of EARLIER, the build directory of
# an earlier commit (built outside this tree, e.g. the commit before the .h5 export came in), in
# paired runs: the two programs run one after the other, in turn first, so that a change of the
# machine's load falls on both. Target: `--version` and the headless run of the binary map each
# within 1.1 times the earlier program's (the median of the pairs' ratios).
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
earlier=""
if [ -n "${2:-}" ]; then earlier=$(cd "$2" && pwd); fi
peers=$(cd "$(dirname "$0")/peers" && pwd)

for b in "$build"/bench/bench_*; do
    if [ -x "$b" ]; then "$b"; fi
done

program="$build/src/driver/plot_orvex_3dfields"
writer="$build/tools/write_field_map"
before=""
if [ -n "$earlier" ]; then before="$earlier/src/driver/plot_orvex_3dfields"; fi
for tool in "$program" "$writer" $before; do
    [ -x "$tool" ] || { echo "run.sh: $tool is not built" >&2; exit 1; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/orvex_bench_XXXXXX")
trap 'rm -rf "$work"' EXIT

our_runs=11 script_runs=5 fortran_runs=7

# The peers that can run here.
have_script=yes
if ! /usr/bin/python3 -c 'import numpy, matplotlib' 2> /dev/null; then
    echo "run.sh: no Debian python3 with numpy and matplotlib; numpy + matplotlib comparison skipped"
    have_script=no
fi
have_fortran=yes
if ! command -v gfortran > /dev/null; then
    echo "run.sh: no gfortran; Fortran read comparison skipped"
    have_fortran=no
else
    for f in read_text_arrays read_node_list; do
        gfortran -O2 -o "$work/$f" "$peers/$f.f90"
    done
fi

# One directory per layout: the map and its control file (electric field).
setup() {  # layout format_flag
    mkdir -p "$work/$1"
    "$writer" --layout "$1" --kind 2 --sym 1,1,1 --ncell 3 "$work/$1/MW_map"
    printf 'benchmark\nlargest map\nMW_map\n%s\n0\n' "$2" > "$work/$1/plot_orvex_3dfields.dat"
}
setup binary 0
setup text 1
setup nodes 2

# measure LAYOUT RUNS COMMAND...: runs COMMAND headless in the layout's directory, once to warm
# the caches and then RUNS times; prints "median best" wall time in ms and the peak resident
# memory in MB. A run that fails ends the measurement with its output.
measure() {
    python3 - "$work/$1" "$2" "${@:3}" <<'EOF'
import os, statistics, sys, time
where, runs, command = sys.argv[1], int(sys.argv[2]), sys.argv[3:]
env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
log = os.path.join(where, "run.log")

def run():
    start = time.perf_counter()
    pid = os.fork()
    if pid == 0:
        os.chdir(where)
        fd = os.open(log, os.O_WRONLY | os.O_CREAT | os.O_TRUNC)
        os.dup2(fd, 1); os.dup2(fd, 2)
        try:
            os.execve(command[0], command, env)
        finally:
            os._exit(127)
    _, status, usage = os.wait4(pid, 0)
    took = (time.perf_counter() - start) * 1000.0
    if status != 0:
        sys.exit(f"run.sh: {' '.join(command)} failed in {where}:\n" + open(log).read())
    return took, usage.ru_maxrss / 1024.0

run()
times, peaks = zip(*(run() for _ in range(runs)))
print(f"{statistics.median(times):.1f} {min(times):.1f} {max(peaks):.1f}")
EOF
}

# paired LAYOUT PAIRS EARLIER_PROGRAM OUR_PROGRAM [ARGUMENTS...]: both programs run headless
# with the same arguments in the layout's directory, PAIRS times each, in pairs (the earlier one
# first in every other pair), after one warm-up pair; prints the median wall time of each in ms
# and the median of the pairs' ratios (ours / earlier).
paired() {
    python3 - "$work/$1" "$2" "${@:3}" <<'EOF'
import os, statistics, sys, time
where, pairs, earlier, ours, arguments = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4], sys.argv[5:]
env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
log = os.path.join(where, "run.log")

def run(program):
    start = time.perf_counter()
    pid = os.fork()
    if pid == 0:
        os.chdir(where)
        fd = os.open(log, os.O_WRONLY | os.O_CREAT | os.O_TRUNC)
        os.dup2(fd, 1); os.dup2(fd, 2)
        try:
            os.execve(program, [program] + arguments, env)
        finally:
            os._exit(127)
    _, status, _ = os.wait4(pid, 0)
    took = (time.perf_counter() - start) * 1000.0
    if status != 0:
        sys.exit(f"run.sh: {program} {' '.join(arguments)} failed in {where}:\n" + open(log).read())
    return took

run(earlier), run(ours)
a, b = [], []
for n in range(pairs):
    if n % 2 == 0:
        a.append(run(earlier)); b.append(run(ours))
    else:
        b.append(run(ours)); a.append(run(earlier))
ratios = [y / x for x, y in zip(a, b)]
print(f"{statistics.median(a):.2f} {statistics.median(b):.2f} {statistics.median(ratios):.3f}")
EOF
}

declare -A ours figures script fortran
for layout in binary text nodes; do
    ours[$layout]=$(measure "$layout" "$our_runs" "$program")
    figures[$layout]=$(measure "$layout" "$our_runs" "$program" --figures --frequency 352.21 --beta 0.5)
    if [ "$have_script" = yes ]; then
        script[$layout]=$(measure "$layout" "$script_runs" /usr/bin/python3 "$peers/plot_map.py")
    fi
done
if [ "$have_fortran" = yes ]; then
    fortran[text]=$(measure text "$fortran_runs" "$work/read_text_arrays" MW_map)
    fortran[nodes]=$(measure nodes "$fortran_runs" "$work/read_node_list" MW_map)
fi

# Fields of a measurement "median best peak".
median() { awk '{ print $1 }' <<< "$1"; }
peak() { awk '{ print $3 }' <<< "$1"; }
wall() { if [ -n "$1" ]; then awk '{ printf "%8.1f (%7.1f) ms", $1, $2 }' <<< "$1"; else printf '%21s' -; fi; }
memory() { if [ -n "$1" ]; then awk '{ printf "%18.1f MB", $3 }' <<< "$1"; else printf '%21s' -; fi; }

# verdict VALUE TARGET BELOW: "ok" when VALUE reaches TARGET: at least it, or at most it when BELOW is 1.
verdict() { awk -v v="$1" -v t="$2" -v below="$3" 'BEGIN { print ((below ? v <= t : v >= t) ? "ok" : "missed") }'; }

echo
echo "Whole headless runs of the largest map (both fields, n_cell 3, mirrors 1,1,1)."
echo "Wall time, median (best) of $our_runs runs of ours, $script_runs of the script, $fortran_runs of a Fortran read:"
printf '  %-7s %21s   %21s   %21s\n' layout "our run" "numpy + matplotlib" "Fortran read alone"
for layout in binary text nodes; do
    printf '  %-7s %s   %s   %s\n' "$layout" "$(wall "${ours[$layout]}")" \
        "$(wall "${script[$layout]:-}")" "$(wall "${fortran[$layout]:-}")"
done
echo "Peak resident memory, same columns:"
for layout in binary text nodes; do
    printf '  %-7s %s   %s   %s\n' "$layout" "$(memory "${ours[$layout]}")" \
        "$(memory "${script[$layout]:-}")" "$(memory "${fortran[$layout]:-}")"
done

echo
echo "Against the targets:"
for layout in binary text nodes; do
    [ -n "${script[$layout]:-}" ] || continue
    r=$(awk -v a="$(median "${script[$layout]}")" -v b="$(median "${ours[$layout]}")" 'BEGIN { printf "%.1f", a / b }')
    printf '  %-7s our run vs numpy + matplotlib   %6sx faster   (target >= 40x)    %s\n' \
        "$layout" "$r" "$(verdict "$r" 40 0)"
done
for layout in text nodes; do
    [ -n "${fortran[$layout]:-}" ] || continue
    r=$(awk -v a="$(median "${fortran[$layout]}")" -v b="$(median "${ours[$layout]}")" 'BEGIN { printf "%.1f", a / b }')
    printf '  %-7s our run vs Fortran read alone   %6sx faster   (target >= 3x)     %s\n' \
        "$layout" "$r" "$(verdict "$r" 3 0)"
done
for layout in binary text nodes; do
    r=$(awk -v a="$(median "${figures[$layout]}")" -v b="$(median "${ours[$layout]}")" 'BEGIN { printf "%.2f", a / b }')
    printf '  %-7s --figures run vs our run        %6sx the time (target <= 1.5x)   %s\n' \
        "$layout" "$r" "$(verdict "$r" 1.5 1)"
done
# The binary map is read straight into its arrays: within 40 MB; the text layouts within 64 MB.
for layout in binary text nodes; do
    m=$(peak "${ours[$layout]}")
    limit=64
    [ "$layout" = binary ] && limit=40
    printf '  %-7s peak resident memory, our run %7s MB        (target <= %s MB)  %s\n' \
        "$layout" "$m" "$limit" "$(verdict "$m" "$limit" 1)"
done

if [ -n "$earlier" ]; then
    echo
    echo "Paired with the earlier build $earlier, medians of 41 pairs (earlier, ours, ours / earlier):"
    for what in version headless; do
        if [ "$what" = version ]; then
            r=$(paired binary 41 "$before" "$program" --version)
        else
            r=$(paired binary 41 "$before" "$program")
        fi
        read -r a b ratio <<< "$r"
        printf '  %-8s %8s ms %8s ms   %6sx the time (target <= 1.1x)   %s\n' \
            "$what" "$a" "$b" "$ratio" "$(verdict "$ratio" 1.1 1)"
    done
fi
