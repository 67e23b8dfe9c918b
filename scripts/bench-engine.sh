#!/usr/bin/env bash
# Builds the engine benchmark in Release (no sanitizers) and runs it: the two
# conversion chains with both datum shifts, median of five repetitions.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/bench}
scripts/setup.sh
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTERVELA_BUILD_UI=OFF \
      -DTERVELA_BUILD_TESTS=OFF -DTERVELA_BUILD_BENCHMARKS=ON >/dev/null
cmake --build "$build" --target engine_benchmark >/dev/null
"$build/engine/bench/engine_benchmark" --benchmark_repetitions=5 \
  --benchmark_report_aggregates_only=true
