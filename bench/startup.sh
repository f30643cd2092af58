#!/usr/bin/env bash
# Start to first frame: `swivel --snapshot` beside a minimal Qt window grabbed to PNG,
# 20 runs each, interleaved; prints the median wall time of each and their ratio.
# Run after `cmake --preset bench && cmake --build --preset bench`.
set -euo pipefail
cd "$(dirname "$0")/.."
bin=build/bench
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }
for i in $(seq 20); do
  for prog in swivel minimal; do
    start=$(date +%s%N)
    if [ $prog = swivel ]; then "$bin/app/swivel" --seed 1 --snapshot "$out/s.png" 2>/dev/null
    else "$bin/bench/minimal_window" "$out/m.png" 2>/dev/null; fi
    echo $(( ($(date +%s%N) - start) / 1000 )) >> "$out/$prog"
  done
done
s=$(median < "$out/swivel"); m=$(median < "$out/minimal")
echo "swivel --snapshot: median ${s} us; minimal window: median ${m} us; ratio $(awk "BEGIN {printf \"%.2f\", $s / $m}")"
