#!/usr/bin/env bash
# Reads the map files of the example runs back with GDAL's ogrinfo (the same
# number of features, names equal to the record texts, positions within 1e-8
# degrees), checks that points with hostile names still give files it reads,
# and renders the picture with rsvg-convert, which must not come out blank.
# Usage: read_back_check.sh TERVELA-CONVERT EXAMPLES-FOLDER [EMULATOR...]
# (a cross-built program runs through EMULATOR, Wine for Windows)
set -euo pipefail
convert=$1 examples=$2
shift 2
emulator=("$@")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Name and position of every point as ogrinfo reads them: "name<TAB>lon lat".
features() {
  ogrinfo -q -al "$1" | awk '
    /^  [Nn]ame \(String\) = / { sub(/^  [Nn]ame \(String\) = /, ""); name = $0 }
    /^  POINT \(/ { gsub(/[()]/, ""); print name "\t" $2 " " $3; name = "" }'
}

# The same from a point file holding WGS84 positions: "text<TAB>lon lat".
expected() {
  tr -d '\r' < "$1" | awk '{
    text = $0; sub(/^[ \t]*[^ \t]+[ \t]+[^ \t]+[ \t]*/, "", text); sub(/[ \t]+$/, "", text)
    print text "\t" $2 " " $1 }'
}

# Compares two feature lists; positions may differ by 1e-8 degrees.
same_features() {
  paste "$1" "$2" | awk -F '\t' -v what="$3" '
    { split($2, a, " "); split($4, b, " ")
      if ($1 != $3 || (a[1] - b[1]) ^ 2 > 1e-16 || (a[2] - b[2]) ^ 2 > 1e-16) {
        print what ": read back \"" $1 "\" " $2 ", expected \"" $3 "\" " $4; bad = 1 } }
    END { exit bad }'
  [ "$(wc -l < "$1")" -eq "$(wc -l < "$2")" ] || { echo "$3: feature counts differ"; return 1; }
}

run() {  # direction input
  "${emulator[@]}" "$convert" --settings "$examples/two-zones.set" --direction "$1" --geojson "$work/p.geojson" \
    --kml "$work/p.kml" --plot "$work/p.svg" "$2" "$work/out.txt"
}

run wgs-a "$examples/wgs84-points.txt"
expected "$examples/wgs84-points.txt" > "$work/expected"
for file in p.geojson p.kml; do
  features "$work/$file" > "$work/read"
  same_features "$work/read" "$work/expected" "wgs-a $file"
done
rsvg-convert "$work/p.svg" -o "$work/p.png"
colours=$(convert "$work/p.png" -format %k info:)
[ "$colours" -gt 8 ] || { echo "the picture is blank ($colours colours)"; exit 1; }

run a-wgs "$examples/grid-points.txt"
expected "$work/out.txt" > "$work/expected"
for file in p.geojson p.kml; do
  features "$work/$file" > "$work/read"
  same_features "$work/read" "$work/expected" "a-wgs $file"
done

# Names with markup, control bytes, stray bytes and Unicode noncharacters
# (U+FFFE, U+FFFF, U+FDD0), which XML and Cairo refuse, on a grid whose name
# holds one too.
printf '45.8 15.9 say "hi" \\ <a&b>\x01\x1f end\n45.6 15.8 caf\xe9 \xc3( \xc5\xbd\n' > "$work/hostile.txt"
printf '45.7 15.7 \xef\xbf\xbe\xef\xbf\xbf \xef\xb7\x90\n' >> "$work/hostile.txt"
sed '37s/.*/zone \xef\xbf\xbf\r/' "$examples/two-zones.set" > "$work/hostile.set"
"${emulator[@]}" "$convert" --settings "$work/hostile.set" --direction wgs-a --geojson "$work/p.geojson" --kml "$work/p.kml" \
  --plot "$work/p.svg" "$work/hostile.txt" "$work/out.txt"
for file in p.geojson p.kml; do
  [ "$(ogrinfo -q -al "$work/$file" | grep -c '^  POINT')" -eq 3 ] || { echo "hostile $file not read"; exit 1; }
done
rsvg-convert "$work/p.svg" -o "$work/p.png"

# A false easting of 1e20 m, whose grid values no step of the grid lines
# changes, still gives a picture.
sed '9s/.*/1e20\r/' "$examples/two-zones.set" > "$work/huge.set"
head -1 "$examples/wgs84-points.txt" > "$work/one.txt"
"${emulator[@]}" "$convert" --settings "$work/huge.set" --direction wgs-a --plot "$work/p.svg" "$work/one.txt" "$work/out.txt"
rsvg-convert "$work/p.svg" -o "$work/p.png"
echo "map files read back"
