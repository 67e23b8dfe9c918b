#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz/) with clang in build/fuzz and runs each
# for SECONDS (default 60) on a copy of its seed corpus. Ends non-zero when a
# target found an input that crashes it or breaks one of its assertions; the
# input is kept in build/fuzz/findings/<target>/. Not part of scripts/test.sh,
# which replays the seed corpora (and so every finding kept there) instead.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-60}"
targets=(fuzz_number_text fuzz_parameter_set fuzz_settings_record fuzz_point_file fuzz_control_file)

# libFuzzer and the sanitizer runtimes come with clang's compiler-rt.
scripts/setup.sh clang libclang-rt-dev
cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DTERVELA_FUZZ=ON -DTERVELA_BUILD_TESTS=OFF -DTERVELA_BUILD_BENCHMARKS=OFF -DTERVELA_BUILD_UI=OFF
cmake --build build/fuzz -j"$(nproc)" --target "${targets[@]}"

# The targets' scratch files go to memory where it can be had: every settings
# save ends with an fsync.
if [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi

found=0
for target in "${targets[@]}"; do
  corpus="build/fuzz/corpus/$target"
  findings="build/fuzz/findings/$target"
  rm -rf "$corpus" "$findings"
  mkdir -p "$corpus" "$findings"
  cp fuzz/corpus/"$target"/* "$corpus"/
  echo "== $target: $seconds s"
  if ! "build/fuzz/fuzz/$target" -max_total_time="$seconds" -timeout=25 \
      -artifact_prefix="$findings/" "$corpus" > "build/fuzz/$target.log" 2>&1; then
    tail -n 40 "build/fuzz/$target.log"
  else
    tail -n 1 "build/fuzz/$target.log"
  fi
  if [ -n "$(ls -A "$findings")" ]; then
    echo "FINDING in $target: $(ls "$findings")"
    found=1
  fi
done
exit "$found"
