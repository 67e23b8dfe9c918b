#!/usr/bin/env bash
# Installs what is missing, builds Tervela in Release for /usr, makes the
# Debian package tervela_<version>_amd64.deb with CPack in the build folder,
# and checks it with lintian, desktop-file-validate and appstreamcli.
#   scripts/package.sh [BUILD_DIR]     (default build/package)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/package}

# dpkg-dev and file: CPack computes the library dependencies with
# dpkg-shlibdeps. The rest check the package.
scripts/setup.sh dpkg-dev file lintian desktop-file-utils appstream
# Debian's hardening flags: stack protector, fortified libc calls, read-only
# relocations bound at start.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DTERVELA_BUILD_TESTS=OFF -DTERVELA_BUILD_BENCHMARKS=OFF \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)"
cmake --build "$build" -j"$(nproc)" --target tervela tervela-convert tervela_compressed_docs
(cd "$build" && cpack -G DEB)
package=$(ls "$build"/tervela_*_amd64.deb)

contents=$(mktemp -d)
trap 'rm -rf "$contents"' EXIT
dpkg-deb --extract "$package" "$contents"
lintian --fail-on error,warning "$package"
desktop-file-validate "$contents"/usr/share/applications/*.desktop
# --no-net: the screenshot's address is on the project's own domain.
appstreamcli validate --no-net "$contents"/usr/share/metainfo/*.metainfo.xml
echo "Package: $package"
