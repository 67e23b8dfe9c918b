#!/usr/bin/env bash
# Renders PNG pictures of the three pages of the main window and of the About
# box into screenshots/, offscreen (no display needed). The Settings page
# shows two example Gauss-Krueger systems and the Conversion page one point
# converted with them.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$(realpath -m "${BUILD_DIR:-build/screenshots}")

cmake -S . -B "$build" -G Ninja -DTERVELA_BUILD_UI=ON -DTERVELA_BUILD_TESTS=OFF \
      -DTERVELA_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$build" --target tervela-screenshots >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The settings record: 18 parameters of A, 18 of B, then the two names.
system() {  # false easting, central meridian
  printf '%s\r\n' 682 -203 480 739.845 0.10037483 0 0 0.9999 "$1" 0 "$2" \
                  -551.7 -162.9 -467.9 6.04 1.96 -11.38 4.82
}
{ system 5500000 15; system 6500000 18; printf '%s\r\n' "GK zone 5" "GK zone 6"; } > "$work/Tervela.ini"

mkdir -p screenshots
(cd "$work" && LC_ALL=C.UTF-8 QT_QPA_PLATFORM=offscreen \
   "$build/ui/tervela-screenshots" "$root/screenshots")
ls -l screenshots/*.png
