#!/usr/bin/env bash
# Installs what is missing, builds Tervela in Release for /usr and makes the
# Debian package build/package/tervela_<version>_amd64.deb with CPack.
# dpkg-dev and file let CPack compute the library dependencies (shlibdeps).
#   scripts/package.sh [BUILD_DIR]     (default build/package)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/package}

scripts/setup.sh dpkg-dev file
# Debian's hardening flags: stack protector, fortified libc calls, read-only
# relocations bound at start.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DTERVELA_BUILD_TESTS=OFF -DTERVELA_BUILD_BENCHMARKS=OFF \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)"
cmake --build "$build" -j"$(nproc)" --target tervela tervela-convert tervela_compressed_docs
(cd "$build" && cpack -G DEB)
ls "$build"/tervela_*.deb
