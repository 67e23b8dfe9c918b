#!/usr/bin/env bash
# Installs what is missing, builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs every test (window tests offscreen).
set -euo pipefail
cd "$(dirname "$0")/.."

# The install test also validates the desktop entry and AppStream metadata;
# the map files check reads back with ogrinfo and renders with rsvg-convert;
# the DXF and CSV check reads back with ogrinfo and Python's csv module; the
# grid convergence and scale factor are held to PROJ's proj -V.
scripts/setup.sh desktop-file-utils appstream gdal-bin librsvg2-bin imagemagick python3 proj-bin
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTERVELA_SANITIZE=ON
cmake --build build/test -j"$(nproc)"
cd build/test
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" --timeout 300
