#!/usr/bin/env bash
# Installs what is missing, builds Tervela and starts the window in the working
# folder ~/Tervela (or $TERVELA_HOME). The program keeps "Tervela.ini" in its
# working folder; on a first start the example settings are copied there.
set -euo pipefail
cd "$(dirname "$0")/.."
source_dir=$(pwd)

scripts/setup.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DTERVELA_BUILD_TESTS=OFF -DTERVELA_BUILD_BENCHMARKS=OFF
cmake --build build/release -j"$(nproc)" --target tervela tervela-convert

home_dir=${TERVELA_HOME:-$HOME/Tervela}
mkdir -p "$home_dir"
if [ ! -e "$home_dir/Tervela.ini" ]; then
  cp examples/two-zones.set "$home_dir/Tervela.ini"
  cp -n examples/wgs84-points.txt examples/grid-points.txt "$home_dir/" || true
  echo "First start: example settings copied to $home_dir/Tervela.ini"
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found. Start it under a virtual display with:"
  echo "  sudo apt-get install xvfb && xvfb-run -a scripts/run.sh"
  exit 1
fi
cd "$home_dir"
exec "$source_dir/build/release/ui/tervela"
