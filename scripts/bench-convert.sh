#!/usr/bin/env bash
# Times tervela-convert on generated point files: 1,000,000 points in
# 40-50 N, 9-21 E, converted WGS84 -> A (three parameters), A -> WGS84 and
# A -> B. Prints the median of several runs in points per second and the peak
# memory of the 1M runs and of a 10M-point run.
#
#   scripts/bench-convert.sh [BUILD_DIR]     (default build/release)
#   RUNS=5 POINTS=1000000 BIG_POINTS=10000000 scripts/bench-convert.sh
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/release}
runs=${RUNS:-5}
points=${POINTS:-1000000}
big_points=${BIG_POINTS:-10000000}

if [ ! -x "$build/cli/tervela-convert" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTERVELA_BUILD_UI=OFF \
        -DTERVELA_BUILD_TESTS=OFF -DTERVELA_BUILD_BENCHMARKS=OFF >/dev/null
  cmake --build "$build" --target tervela-convert >/dev/null
fi
convert=$(realpath "$build/cli/tervela-convert")
[ -x /usr/bin/time ] || scripts/setup.sh time

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Two local systems with realistic shifts, the settings record as the window
# saves it (38 lines, CR LF).
printf '%s\r\n' \
  -120.5 -40.2 95.3 739.845 0.10037483 0.05 -0.03 0.9999 500000 0 15 \
  577.3 90.1 463.9 5.137 1.474 5.297 2.42 \
  -100 -50 80 739.845 0.10037483 0 0 0.9996 500000 -5000000 9 \
  100 -50 80 1 -2 3 5 "System A" "System B" > "$work/bench.set"

generate() {  # generate COUNT FILE
  awk -v n="$1" 'BEGIN { srand(20240501);
    for (i = 1; i <= n; i++)
      printf "%.6f %.6f P%d\r\n", 40 + 10 * rand(), 9 + 12 * rand(), i }' > "$2"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# time_direction DIRECTION INPUT: prints points/s (median) and peak KiB.
time_direction() {
  local direction=$1 input=$2 count=$3 times=() peak=0
  for _ in $(seq "$runs"); do
    /usr/bin/time -f '%e %M' -o "$work/time" \
      "$convert" --settings "$work/bench.set" --direction "$direction" "$input" "$work/out.txt"
    read -r seconds kib < "$work/time"
    times+=("$seconds")
    [ "$kib" -gt "$peak" ] && peak=$kib
  done
  local seconds
  seconds=$(printf '%s\n' "${times[@]}" | median)
  awk -v d="$direction" -v n="$count" -v s="$seconds" -v k="$peak" 'BEGIN {
    printf "%-6s %9d points  median %6.3f s  %10.0f points/s  peak %5.2f MiB\n",
           d, n, s, (s > 0 ? n / s : 0), k / 1024 }'
}

echo "Generating $points points..."
generate "$points" "$work/wgs.txt"
"$convert" --settings "$work/bench.set" --direction wgs-a "$work/wgs.txt" "$work/grid-a.txt"

echo "tervela-convert, $runs runs each, $(nproc) cores:"
time_direction wgs-a "$work/wgs.txt" "$points"
time_direction a-wgs "$work/grid-a.txt" "$points"
time_direction a-b "$work/grid-a.txt" "$points"

if [ "$big_points" -gt 0 ]; then
  echo "Generating $big_points points for the memory check..."
  generate "$big_points" "$work/wgs.txt"
  runs=1 time_direction wgs-a "$work/wgs.txt" "$big_points"
fi
