#!/usr/bin/env bash
# Cross-builds the test suite for Windows and runs it under wine64, as root:
# every test through ctest with Wine as the crossing emulator, the window
# tests on Qt's windows platform under a virtual display (Xvfb). A test that
# needs what Windows lacks (a FIFO, /dev/full, POSIX permissions) is skipped
# with its reason. Then tervela-convert.exe must write the same bytes as a
# Linux tervela-convert built from the same sources
# (packaging/windows/same_bytes_check.sh), and the installer that
# scripts/build-windows.sh made must install, convert and uninstall cleanly
# (packaging/windows/installer_check.sh). The libraries come from
# scripts/build-windows.sh's cache.
#   scripts/test-windows.sh [CTEST_ARGUMENTS...]
set -euo pipefail
cd "$(dirname "$0")/.."
export TERVELA_WINDOWS_CACHE=${TERVELA_WINDOWS_CACHE:-$HOME/.cache/tervela-windows}
prefix=$TERVELA_WINDOWS_CACHE/prefix
build=build/windows/test
reference=build/windows/linux-reference
jobs=${TERVELA_WINDOWS_JOBS:-2}
launcher=$(command -v ccache >/dev/null && echo -DCMAKE_CXX_COMPILER_LAUNCHER=ccache || true)

packaging/windows/setup.sh xvfb
packaging/windows/dependencies.sh
source packaging/windows/wine-env.sh
wine_prefix_ready
start_display
trap stop_display EXIT

# The DLLs the tests need are found through WINEPATH, Qt's plugins through
# QT_PLUGIN_PATH; PROJ finds proj.db beside its DLL's folder (../share/proj).
windows_path() { echo "Z:$1" | tr / '\\'; }
export WINEPATH="$(windows_path "$prefix/bin");$(windows_path /usr/lib/gcc/x86_64-w64-mingw32/12-posix);$(windows_path /usr/x86_64-w64-mingw32/lib)"
export QT_PLUGIN_PATH=$(windows_path "$prefix/plugins")

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_TOOLCHAIN_FILE="$PWD/packaging/windows/toolchain.cmake" -DTERVELA_WINDOWS_PREFIX="$prefix" \
  -DCMAKE_PREFIX_PATH="$prefix" -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DCMAKE_CROSSCOMPILING_EMULATOR="$wine" -DTERVELA_BUILD_BENCHMARKS=OFF $launcher
nice -n 10 cmake --build "$build" -j"$jobs"
# The Linux program the Windows one is compared with: Release, as shipped.
cmake -S . -B "$reference" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTERVELA_BUILD_UI=OFF \
  -DTERVELA_BUILD_TESTS=OFF -DTERVELA_BUILD_BENCHMARKS=OFF $launcher
nice -n 10 cmake --build "$reference" -j"$jobs" --target tervela-convert

status=0
(cd "$build" && ctest --output-on-failure -j2 --timeout 600 "$@") || status=1
packaging/windows/same_bytes_check.sh "$reference/cli/tervela-convert" "$build/bin/tervela-convert.exe" \
  examples "$wine" || status=1
# The installer, where scripts/build-windows.sh has made one.
setup=$(ls build/windows/Tervela-*-setup.exe 2>/dev/null | head -1)
if [ -n "$setup" ]; then
  packaging/windows/installer_check.sh "$setup" "${setup%-setup.exe}" || status=1
else
  echo "no installer to check: scripts/build-windows.sh makes it"
fi
exit $status
