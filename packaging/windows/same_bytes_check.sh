#!/usr/bin/env bash
# Converts the examples, and a large random point file, with a Linux and a
# Windows tervela-convert (under Wine) and requires the same bytes from both:
# every direction with both datum shifts, with drawing scripts, GeoJSON, KML,
# the DXF drawing and the CSV table. (The picture is drawn by each system's own
# fonts, so it is left out.)
#   same_bytes_check.sh LINUX-PROGRAM WINDOWS-PROGRAM EXAMPLES-FOLDER WINE
set -euo pipefail
linux=$1 windows=$2 examples=$3 wine=$4
work=$(mktemp -d)
# KEEP=1 keeps the outputs, to look at a difference.
trap '[ -n "${KEEP:-}" ] && echo "outputs kept in $work" || rm -rf "$work"' EXIT
mkdir -p "$work/linux" "$work/windows"

# 100 000 random points in and around the examples' two zones, the same on
# every run.
awk 'BEGIN { srand(26); for (i = 0; i < 100000; i++)
  printf "%.8f %.8f R%d\r\n", 41 + 6 * rand(), 12 + 8 * rand(), i }' >"$work/random-wgs84.txt"

# convert SIDE NAME INPUT DIRECTION [OPTIONS...]: one run into SIDE's folder.
convert() {
  local side=$1 name=$2 input=$3 direction=$4
  shift 4
  local out=$work/$side/$name
  local program=("$linux") drawing=(--dxf "$out.dxf")
  [ "$side" = windows ] && program=("$wine" "$windows")
  # A drawing holds grid coordinates: none for a run to WGS84.
  [[ "$direction" = *-wgs ]] && drawing=()
  "${program[@]}" --settings "$examples/two-zones.set" --direction "$direction" --scripts \
    --geojson "$out.geojson" --kml "$out.kml" "${drawing[@]}" --csv "$out.csv" "$@" "$input" "$out.txt"
}

failed=0
for side in linux windows; do
  for method in three seven; do
    option=()
    [ "$method" = seven ] && option=(--seven)
    for input in wgs84-points random-wgs84; do
      source=$examples/$input.txt
      [ "$input" = random-wgs84 ] && source=$work/$input.txt
      convert "$side" "$input-wgs-a-$method" "$source" wgs-a "${option[@]}"
      convert "$side" "$input-wgs-b-$method" "$source" wgs-b "${option[@]}"
      # The grid files the runs wrote are the inputs of the grid directions.
      for grid in a b; do
        other=$([ $grid = a ] && echo b || echo a)
        grid_input=$work/linux/$input-wgs-$grid-$method.txt
        convert "$side" "$input-$grid-wgs-$method" "$grid_input" "$grid-wgs" "${option[@]}"
        convert "$side" "$input-$grid-$other-$method" "$grid_input" "$grid-$other" "${option[@]}"
      done
    done
    convert "$side" "grid-points-a-wgs-$method" "$examples/grid-points.txt" a-wgs "${option[@]}"
  done
done
files=0
while IFS= read -r file; do
  files=$((files + 1))
  cmp -s "$work/linux/$file" "$work/windows/$file" || { echo "differs: $file"; failed=1; }
done < <(cd "$work/linux" && find . -type f | sort)
[ "$(cd "$work/windows" && find . -type f | wc -l)" -eq "$files" ] || { echo "file counts differ"; failed=1; }
[ $failed -eq 0 ] && echo "same bytes: $files files from Linux and Windows"
exit $failed
