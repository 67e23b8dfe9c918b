#!/bin/sh
# Installs the build tree into a temporary prefix and checks the installed
# tree: every file in its place, both programs' --version without a display,
# the launcher's first start in a decimal-comma locale, and the desktop entry
# and AppStream metadata through their validators when those are installed.
#
#   installed_tree_test.sh CMAKE BUILD_DIR EXAMPLES_DIR APPLICATION_ID VERSION "ICON_SIZES"
set -eu
cmake=$1 build=$2 examples=$3 id=$4 version=$5 icon_sizes=$6

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/usr
fail() { echo "FAIL: $*" >&2; exit 1; }

"$cmake" --install "$build" --prefix "$prefix" >/dev/null

for file in bin/tervela bin/tervela-convert libexec/tervela/tervela \
    "share/applications/$id.desktop" "share/metainfo/$id.metainfo.xml" \
    "share/icons/hicolor/scalable/apps/$id.svg" \
    share/man/man1/tervela.1.gz share/man/man1/tervela-convert.1.gz \
    share/tervela/examples/two-zones.set share/tervela/examples/wgs84-points.txt \
    share/tervela/examples/grid-points.txt \
    share/doc/tervela/README.md share/doc/tervela/copyright share/doc/tervela/changelog.gz; do
  [ -f "$prefix/$file" ] || fail "$file is not installed"
done
for size in $(echo "$icon_sizes" | tr ';' ' '); do
  png="$prefix/share/icons/hicolor/${size}x$size/apps/$id.png"
  [ -f "$png" ] || fail "no $size-pixel icon"
done
gzip --test "$prefix"/share/man/man1/*.gz "$prefix/share/doc/tervela/changelog.gz" || fail "bad gzip file"
[ -x "$prefix/bin/tervela" ] && [ -x "$prefix/bin/tervela-convert" ] || fail "programs not executable"

# --version needs no display.
headless="env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM"
[ "$($headless "$prefix/bin/tervela" --version)" = "tervela $version" ] || fail "tervela --version"
[ "$($headless "$prefix/bin/tervela-convert" --version)" = "tervela-convert $version" ] ||
  fail "tervela-convert --version"

# A first start in a decimal-comma locale: the folder is made, the point
# files copied as they are, the settings written with commas; without a
# display the launcher then stops. Qt takes the locale from the environment.
home=$work/home/Tervela
start() { $headless -u LC_ALL -u LC_NUMERIC LANG=$1 TERVELA_HOME="$home" "$prefix/bin/tervela" >/dev/null 2>&1; }
start de_DE.UTF-8 && fail "the launcher started without a display"
for points in wgs84-points.txt grid-points.txt; do
  cmp -s "$examples/$points" "$home/$points" || fail "$points not copied"
done
[ "$(sed -n 4p "$home/Tervela.ini")" = "$(printf '739,845\r')" ] || fail "settings not written with commas"
[ "$(sed -n 37p "$home/Tervela.ini")" = "$(printf 'GK zone 5\r')" ] || fail "system name changed"
"$prefix/bin/tervela-convert" --settings "$home/Tervela.ini" --decimal-separator , --direction wgs-a \
  "$home/wgs84-points.txt" "$work/grid.txt" || fail "the written settings do not convert"
# A later start keeps the user's settings, in any locale.
echo kept > "$home/Tervela.ini"
start C.UTF-8 || true
[ "$(cat "$home/Tervela.ini")" = kept ] || fail "a later start overwrote Tervela.ini"
rm "$home/Tervela.ini"
start C.UTF-8 || true
[ "$(sed -n 4p "$home/Tervela.ini")" = "$(printf '739.845\r')" ] || fail "settings not written with points"

if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "desktop-file-validate"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" >"$work/appstream" 2>&1 ||
    { cat "$work/appstream"; fail "appstreamcli validate"; }
fi
echo "installed tree OK"
