#!/usr/bin/env bash
# Times tervela-convert on generated point files: 1,000,000 points in
# 40-50 N, 9-21 E, converted WGS84 -> A (three parameters), A -> WGS84 and
# A -> B. Prints the median of several runs in points per second and the peak
# memory of the 1M runs and of a 10M-point run, then the same WGS84 -> A and
# A -> WGS84 runs interleaved with PROJ's cct doing the same operations on the
# same points, as a ratio that holds on a busy machine.
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
command -v cct >/dev/null || scripts/setup.sh proj-bin

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

# System A's operations as a PROJ pipeline (without the small corr.N/corr.E
# offsets): Molodensky from WGS84 to the local datum, then Transverse
# Mercator; latitude first as in the point files.
pipeline='+proj=pipeline +step +proj=axisswap +order=2,1 +step +proj=unitconvert +xy_in=deg +xy_out=rad
  +step +inv +proj=molodensky +a=6377397.155 +f=0.00334277318174 +da=739.845 +df=0.000010037483
  +dx=-120.5 +dy=-40.2 +dz=95.3 +step +proj=tmerc +a=6377397.155 +b=6356078.962775739 +lon_0=15
  +k=0.9999 +x_0=500000 +y_0=0 +step +proj=axisswap +order=2,1'
seconds_of() { local start end; start=$(date +%s.%N); "$@" >/dev/null 2>&1; end=$(date +%s.%N)
               awk -v s="$start" -v e="$end" 'BEGIN { print e - s }'; }
generate "$points" "$work/wgs.txt"
tr -d '\r' < "$work/grid-a.txt" > "$work/grid-lf.txt"
tervela_forward=(); cct_forward=(); tervela_inverse=(); cct_inverse=()
for _ in $(seq "$runs"); do
  cct_forward+=("$(seconds_of cct -z 200 -t 0 -d 3 -o "$work/cct.txt" $pipeline "$work/wgs.txt")")
  tervela_forward+=("$(seconds_of "$convert" --settings "$work/bench.set" --direction wgs-a "$work/wgs.txt" "$work/out.txt")")
  cct_inverse+=("$(seconds_of cct -I -z 200 -t 0 -d 8 -o "$work/cct.txt" $pipeline "$work/grid-lf.txt")")
  tervela_inverse+=("$(seconds_of "$convert" --settings "$work/bench.set" --direction a-wgs "$work/grid-lf.txt" "$work/out.txt")")
done
ratio() { awk -v c="$(printf '%s\n' "${!1}" | median)" -v t="$(printf '%s\n' "${!2}" | median)" -v n="$points" \
            'BEGIN { printf "%.0f points/s, %.2f times cct", n / t, c / t }'; }
echo "Paired with cct, $runs runs each:"
echo "WGS84 to A: $(ratio 'cct_forward[@]' 'tervela_forward[@]')"
echo "A to WGS84: $(ratio 'cct_inverse[@]' 'tervela_inverse[@]') -I"
