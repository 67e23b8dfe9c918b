#!/usr/bin/env bash
# Builds the libraries Tervela needs on Windows, once, from Debian's source
# packages, with the MinGW-w64 compilers, into the cache
#   $TERVELA_WINDOWS_CACHE   (default ~/.cache/tervela-windows)
#     sources/  the downloaded source packages     src/     their unpacked trees
#     build/    the build folders                   prefix/  what is installed
# Each library leaves prefix/stamps/NAME holding the version it was built from,
# so a second run skips it; a new source version builds it again.
#   packaging/windows/dependencies.sh [LIBRARY...]    (default: all, in order)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cache=${TERVELA_WINDOWS_CACHE:-$HOME/.cache/tervela-windows}
prefix=$cache/prefix
jobs=${TERVELA_WINDOWS_JOBS:-2}
host=x86_64-w64-mingw32
mkdir -p "$cache"/{sources,src,build} "$prefix"/{stamps,lib,include}

# The versions of source package $1 the archive lists, newest first.
source_versions() {
  apt-cache showsrc "$1" | sed -n 's/^Version: //p' | sort -V -r -u
}

# Downloads source package $1 once and prints the version it got: the newest
# the archive serves whole, else the newest whose upstream tarball it serves
# (a mirror may lack a security update's files). sources/$1.version keeps the
# choice, so later runs neither download nor rebuild; delete the cache to take
# a newer version.
fetch_source() {
  local package=$1 version
  if [ ! -f "$cache/sources/$package.version" ]; then
    (cd "$cache/sources" &&
      for version in $(source_versions "$package"); do
        apt-get source --download-only "$package=$version" >&2 && echo "$version" >"$package.version" && break
      done
      [ -f "$package.version" ] ||
        for version in $(source_versions "$package"); do
          upstream=${version#*:} && upstream=${upstream%-*}
          ls "${package}_${upstream}".orig.tar.* >/dev/null 2>&1 && echo "$version" >"$package.version" && break
        done)
  fi
  cat "$cache/sources/$package.version"
}

# Unpacks version $2 of source package $1 with Debian's patches into
# src/$1-UPSTREAM and prints that folder; without Debian's changes (not
# served), the upstream tarball alone.
unpack_source() {
  local package=$1 version=$2 upstream tree
  upstream=${version#*:} && upstream=${upstream%-*}
  tree=$cache/src/$package-$upstream
  if [ ! -d "$tree" ]; then
    rm -rf "$tree.partial"
    if ! dpkg-source --no-check -x "$cache/sources/${package}_${version#*:}.dsc" "$tree.partial" >&2; then
      echo "Debian's changes to $package are not served: unpacking the upstream tarball alone" >&2
      rm -rf "$tree.partial" && mkdir -p "$tree.partial"
      tar -xf "$(ls "$cache/sources/${package}_${upstream}".orig.tar.*)" -C "$tree.partial" \
        --strip-components=1
    fi
    mv "$tree.partial" "$tree"
  fi
  echo "$tree"
}

# True when library $1 is already built from source version $2.
built() { [ "$(cat "$prefix/stamps/$1" 2>/dev/null)" = "$2" ]; }
stamp() { echo "$2" >"$prefix/stamps/$1"; echo "Built $1 $2" >&2; }

cross_cmake() {
  cmake -G Ninja -DCMAKE_TOOLCHAIN_FILE="$here/toolchain.cmake" -DTERVELA_WINDOWS_PREFIX="$prefix" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_PREFIX_PATH="$prefix" "$@"
}

# Autotools projects: cross-configured for the MinGW host, shared libraries.
# Debian's patches to configure.ac and Makefile.am serve Debian's own build
# (it regenerates with autoreconf); the shipped generated files are marked up
# to date so that make does not try to regenerate them.
cross_configure() {
  find "$src" \( -name configure -o -name aclocal.m4 -o -name Makefile.in -o -name config.h.in \) \
    -exec touch -d "$(date)" {} +
  PKG_CONFIG_LIBDIR="$prefix/lib/pkgconfig" PKG_CONFIG_PATH="" \
    CC=$host-gcc-posix CXX=$host-g++-posix CPPFLAGS="-I$prefix/include" LDFLAGS="-L$prefix/lib" \
    "$@" --host=$host --prefix="$prefix" --enable-shared --disable-static
}

# Each recipe: NAME SOURCE-PACKAGE, then the build in a fresh build folder.
recipe() {
  local name=$1 package=$2 version
  version=$(fetch_source "$package")
  built "$name" "$version" && return 0
  src=$(unpack_source "$package" "$version")
  bld=$cache/build/$name
  rm -rf "$bld" && mkdir -p "$bld"
  echo "Building $name $version" >&2
  (cd "$bld" && "build_$name")
  stamp "$name" "$version"
}

# Static: Debian's tarball lacks the win32 folder the DLL's resources come
# from. libpng's DLL takes it in.
build_zlib() {
  cross_cmake "$src"
  ninja -j"$jobs" zlibstatic
  cp libzlibstatic.a "$prefix/lib/libz.a"
  cp zconf.h "$src/zlib.h" "$prefix/include/"
  mkdir -p "$prefix/lib/pkgconfig"
  local upstream=${version#*:}
  printf 'Name: zlib\nDescription: zlib\nVersion: %s\nLibs: -L%s/lib -lz\nCflags: -I%s/include\n' \
    "${upstream%%-*}" "$prefix" "$prefix" >"$prefix/lib/pkgconfig/zlib.pc"
}

build_libpng() {
  cross_cmake "$src" -DPNG_SHARED=ON -DPNG_STATIC=OFF -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF
  ninja -j"$jobs" install
}

build_pixman() {
  cross_configure "$src/configure" --disable-gtk --disable-libpng
  make -j"$jobs" -C pixman install
  make install-pkgconfigDATA
}

# The win32 surface and the Windows (GDI) font backend: no fontconfig or
# FreeType. The picture needs the image surface with PNG and the SVG surface.
# Its configure turns on _FORTIFY_SOURCE, whose checks MinGW takes from a
# separate library (libssp); they are turned off again rather than shipping it.
build_cairo() {
  CFLAGS="-O2 -Wp,-U_FORTIFY_SOURCE" cross_configure "$src/configure" --enable-win32 --enable-win32-font --disable-ft --disable-fc \
    --enable-png --enable-svg --disable-pdf --disable-ps --disable-script --disable-interpreter \
    --disable-xlib --disable-xcb --disable-gobject --disable-trace --disable-full-testing \
    --disable-gtk-doc
  make -j"$jobs" -C src install
}

# SQLite's one-file amalgamation is generated on the host (with tclsh) and
# compiled into a static library that PROJ's DLL takes in.
build_sqlite3() {
  "$src/configure" >/dev/null
  make sqlite3.c
  $host-gcc-posix -O2 -DSQLITE_THREADSAFE=1 -DSQLITE_OMIT_LOAD_EXTENSION -c sqlite3.c -o sqlite3.o
  $host-gcc-ar-posix rcs "$prefix/lib/libsqlite3.a" sqlite3.o
  cp sqlite3.h sqlite3ext.h "$prefix/include/"
}

# PROJ without network access and without GeoTIFF grids; proj.db is built
# with the host's sqlite3 program.
build_proj() {
  cross_cmake "$src" -DBUILD_SHARED_LIBS=ON -DENABLE_TIFF=OFF -DENABLE_CURL=OFF \
    -DBUILD_APPS=OFF -DBUILD_TESTING=OFF -DBUILD_PROJSYNC=OFF -DNLOHMANN_JSON_ORIGIN=internal \
    -DEXE_SQLITE3=/usr/bin/sqlite3 -DSQLITE3_INCLUDE_DIR="$prefix/include" \
    -DSQLITE3_LIBRARY="$prefix/lib/libsqlite3.a"
  ninja -j"$jobs" install
}

build_googletest() {
  cross_cmake "$src" -DBUILD_SHARED_LIBS=OFF -Dgtest_disable_pthreads=OFF
  ninja -j"$jobs" install
}

# Qt's Core, Gui, Widgets and Test, the windows platform plugin and the
# windowsvista style, with Debian's own host tools (moc, rcc, uic) of the same
# version. Two features are off because the Windows build cannot have them
# from Debian's tarball: tablet events (the wintab headers are stripped from
# it) and the DirectWrite 3 font database (compiled only with direct2d, which
# needs OpenGL-era headers we do not build; the platform plugin checks only
# directwrite3, so it must be off too).
build_qt() {
  cross_cmake "$src" -DBUILD_SHARED_LIBS=ON \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DQT_QMAKE_TARGET_MKSPEC=win32-g++ \
    -DQT_BUILD_TESTS=OFF -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_BENCHMARKS=OFF \
    -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_opengl=OFF -DINPUT_opengl=no \
    -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_testlib=ON \
    -DFEATURE_vulkan=OFF -DFEATURE_direct2d=OFF -DFEATURE_directwrite3=OFF -DFEATURE_tabletevent=OFF \
    -DFEATURE_jpeg=OFF -DFEATURE_icu=OFF -DFEATURE_zstd=OFF \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_freetype=OFF \
    -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_doubleconversion=OFF \
    -DFEATURE_sql_sqlite=OFF
  ninja -j"$jobs" install
}

libraries=("$@")
[ ${#libraries[@]} -gt 0 ] || libraries=(zlib libpng pixman cairo sqlite3 proj googletest qt)
for library in "${libraries[@]}"; do
  case $library in
    zlib) recipe zlib zlib ;;
    libpng) recipe libpng libpng1.6 ;;
    pixman) recipe pixman pixman ;;
    cairo) recipe cairo cairo ;;
    sqlite3) recipe sqlite3 sqlite3 ;;
    proj) recipe proj proj ;;
    googletest) recipe googletest googletest ;;
    qt) recipe qt qt6-base ;;
    *) echo "Unknown library: $library" >&2; exit 2 ;;
  esac
done
