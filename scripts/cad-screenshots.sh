#!/usr/bin/env bash
# Renders the README's pictures of a DXF drawing opened in LibreCAD and of a
# CSV table opened in LibreOffice Calc, without a display of the user's:
# tervela-convert writes both for a small site of six points; LibreCAD runs
# in a virtual X server (Xvfb), driven by xdotool, and ImageMagick takes its
# picture; LibreOffice converts the table (its four coordinate columns
# imported as text, so they show as written) to PDF, and pdftoppm and
# ImageMagick make its PNG. Installs what is missing of librecad,
# libreoffice-calc-nogui, poppler-utils, imagemagick, xvfb and xdotool.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$(realpath -m "${BUILD_DIR:-build/screenshots}")

scripts/setup.sh librecad libreoffice-calc-nogui poppler-utils imagemagick xvfb xdotool
cmake -S . -B "$build" -G Ninja -DTERVELA_BUILD_TESTS=OFF -DTERVELA_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$build" --target tervela-convert >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat > "$work/site.txt" <<'POINTS'
45.815000 15.982000 P1 Main square, fountain
45.815410 15.982650 P2 Cathedral gate
45.814720 15.983100 P3 Corner of Jurisiceva
45.815900 15.981600 P4 Market steps
45.814300 15.981800 P5 Bank entrance
45.815250 15.983700 P6 Tram stop
POINTS
cd "$work"
"$build/cli/tervela-convert" --settings "$root/examples/two-zones.set" --direction wgs-a \
  --dxf site-a.dxf --csv site-a.csv site.txt site-a.txt

export HOME=$work
# LibreCAD in a virtual X server: its first-start dialog taken with Return,
# then "za" (zoom auto) on its command line, and a picture of the screen.
display=:$((90 + RANDOM % 9))
Xvfb "$display" -screen 0 1100x760x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null; rm -rf "$work"' EXIT
sleep 2
DISPLAY=$display librecad -geometry 1100x760+0+0 site-a.dxf >/dev/null 2>&1 &
librecad=$!
sleep 12
DISPLAY=$display xdotool key Return
sleep 5
DISPLAY=$display xdotool mousemove 940 642 click 1 type za
DISPLAY=$display xdotool key Return
sleep 3
DISPLAY=$display import -window root "$root/screenshots/dxf-librecad.png"
kill "$librecad"

export QT_QPA_PLATFORM=offscreen
# Comma-separated, quoted by ", UTF-8 (76), from line 1; columns 2 to 5 as text.
soffice --headless --infilter="CSV:44,34,76,1,2/2/3/2/4/2/5/2" --convert-to pdf site-a.csv >/dev/null 2>&1
pdftoppm -png -r 90 site-a.pdf table
# Each page cut to its top, where the six rows are, below the header.
convert table-*.png -crop 100%x20%+0+0 +repage -trim +repage +append -bordercolor white -border 16 \
  "$root/screenshots/csv-libreoffice.png"
ls -l "$root/screenshots/dxf-librecad.png" "$root/screenshots/csv-libreoffice.png"
