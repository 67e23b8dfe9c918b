#!/usr/bin/env bash
# Renders PNG pictures of the three pages of the main window, of the About
# box, of the system dialog, of the control-point residuals and of the
# picture window of a map file run into screenshots/, offscreen (no display
# needed). The Settings page shows the example systems of
# examples/two-zones.set, the Conversion page one point converted with them
# and the example WGS84 points converted with map files, and the residual
# dialog system A against examples/control-points.txt.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$(realpath -m "${BUILD_DIR:-build/screenshots}")

cmake -S . -B "$build" -G Ninja -DTERVELA_BUILD_UI=ON -DTERVELA_BUILD_TESTS=OFF \
      -DTERVELA_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$build" --target tervela-screenshots >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp examples/two-zones.set "$work/Tervela.ini"
cp examples/wgs84-points.txt "$work/"

mkdir -p screenshots
(cd "$work" && LC_ALL=C.UTF-8 QT_QPA_PLATFORM=offscreen \
   "$build/ui/tervela-screenshots" "$root/screenshots" "$root/examples/control-points.txt")
ls -l screenshots/*.png
