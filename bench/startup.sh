#!/usr/bin/env bash
# Start to first frame: `swivel --snapshot` beside a minimal Qt window that shows one
# empty window, paints it and saves that frame to PNG, all headless; 20 runs each,
# interleaved. Prints the median wall time of each program and their ratio, and the
# median processor time (user + system), which a loaded machine disturbs less. A third
# line compares swivel with the minimal window showing one line of text (--label).
# What a script can time is start to exit. Qt's font database makes the empty window
# load the font configuration as it ends, which swivel has done at start-up: timed to
# the saved frame instead, the ratio is higher.
# Run after `cmake --preset bench && cmake --build --preset bench`.
set -euo pipefail
export LC_ALL=C  # the clock and `times` print a decimal point
trap 'exit 130' INT  # swivel ends quietly on Ctrl-C; the loop must not go on
cd "$(dirname "$0")/.."
bin=build/bench
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }
# The processor time (user + system) between two snapshots of the shell's `times` (the
# builtin itself starts no process, so only the program's time lies between them).
cpu_between() {
  awk 'FNR == 2 {for (i = 1; i <= 2; ++i) {split($i, t, /[ms]/); us += (t[1] * 60 + t[2]) * 1e6 * (FILENAME == ARGV[1] ? -1 : 1)}}
       END {printf "%d\n", us}' "$1" "$2"
}
for _ in $(seq 20); do
  for prog in swivel minimal label; do
    times > "$out/t0"
    start=${EPOCHREALTIME/./}  # read in the shell itself: no process started for the clock
    if [ $prog = swivel ]; then QT_QPA_PLATFORM=offscreen "$bin/app/swivel" --seed 1 --snapshot "$out/s.png" 2>/dev/null
    elif [ $prog = minimal ]; then "$bin/bench/minimal_window" "$out/m.png" 2>/dev/null
    else "$bin/bench/minimal_window" --label "$out/l.png" 2>/dev/null; fi
    echo $(( ${EPOCHREALTIME/./} - start )) >> "$out/$prog"
    times > "$out/t1"
    cpu_between "$out/t0" "$out/t1" >> "$out/$prog.cpu"
  done
done
ratio() { awk "BEGIN {printf \"%.2f\", $1 / $2}"; }
s=$(median < "$out/swivel"); m=$(median < "$out/minimal")
echo "swivel --snapshot: median ${s} us; minimal window: median ${m} us; ratio $(ratio "$s" "$m")"
s=$(median < "$out/swivel.cpu"); m=$(median < "$out/minimal.cpu")
echo "processor time: swivel median ${s} us; minimal window median ${m} us; ratio $(ratio "$s" "$m")"
l=$(median < "$out/label")
echo "window with one line of text: median ${l} us; swivel against it: ratio $(ratio "$(median < "$out/swivel")" "$l")"
