#!/usr/bin/env bash
# Cross-builds Tervela for 64-bit Windows on Debian 12, as root:
#   build/windows/Tervela-VERSION-win64.zip   the program folder: unzip and run
#   build/windows/Tervela-VERSION-setup.exe   its NSIS installer (one user, no
#                                             administrator rights)
# The libraries come from Debian's source packages, built once into
# $TERVELA_WINDOWS_CACHE (default ~/.cache/tervela-windows) by
# packaging/windows/dependencies.sh; later runs reuse them.
set -euo pipefail
cd "$(dirname "$0")/.."
export TERVELA_WINDOWS_CACHE=${TERVELA_WINDOWS_CACHE:-$HOME/.cache/tervela-windows}
prefix=$TERVELA_WINDOWS_CACHE/prefix
out=build/windows
build=$out/release
host=x86_64-w64-mingw32

packaging/windows/setup.sh
packaging/windows/dependencies.sh

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$PWD/packaging/windows/toolchain.cmake" -DTERVELA_WINDOWS_PREFIX="$prefix" \
  -DCMAKE_PREFIX_PATH="$prefix" -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DTERVELA_BUILD_TESTS=OFF -DTERVELA_BUILD_BENCHMARKS=OFF \
  $(command -v ccache >/dev/null && echo -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
nice -n 10 cmake --build "$build" -j"${TERVELA_WINDOWS_JOBS:-2}" --target tervela tervela-convert
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
name=Tervela-$version
stage=$out/$name
rm -rf "$stage"
cmake --install "$build" --prefix "$stage" --strip
packaging/windows/runtime-files.sh "$stage" "$prefix"

rm -f "$out/$name-win64.zip"
(cd "$out" && zip -qr9 "$name-win64.zip" "$name")
# The uninstaller's list: every file of the folder, then its folders, deepest first.
(cd "$stage" &&
  find . -type f | sort | sed -e 's|^\./||' -e 's|/|\\|g' -e 's|.*|  Delete "$INSTDIR\\&"|' &&
  find . -mindepth 1 -type d | sort -r | sed -e 's|^\./||' -e 's|/|\\|g' -e 's|.*|  RMDir "$INSTDIR\\&"|'
) >"$stage.files.nsh"
makensis -V2 -DVERSION="$version" -DSTAGE="$PWD/$stage" -DSIZE_KB="$(du -sk "$stage" | cut -f1)" \
  -DOUTFILE="$PWD/$out/$name-setup.exe" -DICON="$PWD/icons/tervela.ico" packaging/windows/tervela.nsi
ls -l "$out/$name-win64.zip" "$out/$name-setup.exe"
