#!/usr/bin/env bash
# Reads the DXF drawing and the CSV table of example runs back: the DXF with
# GDAL's ogrinfo (one point, one text and one number per record, the texts
# those of the records, the positions within 1 mm of OUTPUT), the CSV with
# Python's csv module (the same numbers as OUTPUT and the input, WGS84
# positions, a header); hostile names leave both readable; a DXF of a run to
# WGS84 is refused, and the outputs go through the same-file guard.
# Usage: dxf_csv_read_back.sh TERVELA-CONVERT EXAMPLES-FOLDER [EMULATOR...]
# (a cross-built program runs through EMULATOR, Wine for Windows)
set -euo pipefail
convert=$1 examples=$2
shift 2
emulator=("$@")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

run() {  # direction input [more options]
  local direction=$1 input=$2
  shift 2
  "${emulator[@]}" "$convert" --settings "$examples/two-zones.set" --direction "$direction" "$@" "$input" "$work/out.txt"
}

# DXF entities as "layer<TAB>text<TAB>x y", one a line, in file order.
entities() {
  ogrinfo -q -al "$1" | awk '
    /^  Layer \(String\) = / { sub(/^  Layer \(String\) = /, ""); layer = $0; text = "" }
    /^  Text \(String\) = / { sub(/^  Text \(String\) = /, ""); text = $0 }
    /^  POINT Z \(/ { gsub(/[()]/, ""); print layer "\t" text "\t" $3 " " $4 }'
}

# The DXF against OUTPUT: per record a point at (easting, northing), its text
# there and its number 4 below, within 1 mm.
check_dxf() {  # dxf what
  entities "$1" > "$work/entities"
  tr -d '\r' < "$work/out.txt" | awk -F '\t' -v what="$2" '
    NR == FNR { layer[NR] = $1; text[NR] = $2; split($3, p, " "); x[NR] = p[1]; y[NR] = p[2]; n = NR; next }
    { e = 3 * (FNR - 1); name = $0; sub(/^[ \t]*[^ \t]+[ \t]+[^ \t]+[ \t]*/, "", name); sub(/[ \t]+$/, "", name)
      split($0, f, " ")
      want[1] = "POINTS\t\t" f[2] " " f[1]; want[2] = "POINT_TEXTS\t" name "\t" f[2] " " f[1]
      want[3] = "POINT_NUMBERS\t" FNR "\t" f[2] " " sprintf("%.4f", f[1] - 4)
      for (k = 1; k <= 3; ++k) {
        split(want[k], w, "\t"); split(w[3], q, " ")
        if (layer[e + k] != w[1] || text[e + k] != w[2] || (x[e + k] - q[1]) ^ 2 > 1e-6 || (y[e + k] - q[2]) ^ 2 > 1e-6) {
          print what ": entity " e + k " is " layer[e + k] " \"" text[e + k] "\" " x[e + k] " " y[e + k] \
                ", expected " w[1] " \"" w[2] "\" " w[3]; bad = 1 } }
      records = FNR }
    END { if (n != 3 * records) { print what ": " n " entities for " records " records"; bad = 1 } exit bad }' \
    "$work/entities" -
}

# The CSV against the input and OUTPUT: the numbers as written, the text, the
# WGS84 position that of the input, or of OUTPUT to its 8 decimals.
check_csv() {  # csv input wgs84-source what
  python3 - "$1" "$2" "$work/out.txt" "$3" "$4" <<'PY'
import csv, sys
table, input_name, output_name, wgs84_source, what = sys.argv[1:]
with open(table, 'rb') as f:
    assert f.read(3) == b'\xef\xbb\xbf', what + ': no byte-order mark'
with open(table, encoding='utf-8-sig', newline='') as f:
    rows = list(csv.reader(f))
def records(name):
    with open(name, encoding='latin-1', newline='') as f:
        return [line.rstrip('\r\n').split(None, 2) for line in f]
inputs, outputs = records(input_name), records(output_name)
header = rows[0]
assert header[0] == 'text' and header[5:9] == ['wgs84_latitude', 'wgs84_longitude', 'convergence_degrees', 'scale_factor'], header
assert len(rows) - 1 == len(outputs), f'{what}: {len(rows) - 1} rows for {len(outputs)} records'
wgs84 = inputs if wgs84_source == 'input' else outputs
tolerance = 1e-10 if wgs84_source == 'input' else 0.51e-8
for row, given, written, position in zip(rows[1:], inputs, outputs, wgs84):
    assert row[1:3] == given[:2] and row[3:5] == written[:2], f'{what}: {row} against {given} {written}'
    assert row[0] == (written[2].strip() if len(written) > 2 else ''), f'{what}: text {row[0]!r}'
    assert all(abs(float(row[5 + i]) - float(position[i])) <= tolerance for i in (0, 1)), f'{what}: {row}'
    assert 0.99 < float(row[8]) < 1.01 and abs(float(row[7])) < 5, f'{what}: {row}'
PY
}

run wgs-a "$examples/wgs84-points.txt" --dxf "$work/p.dxf" --csv "$work/p.csv"
check_dxf "$work/p.dxf" "wgs-a dxf"
check_csv "$work/p.csv" "$examples/wgs84-points.txt" input "wgs-a csv"

run a-b "$examples/grid-points.txt" --dxf "$work/p.dxf" --csv "$work/p.csv"
check_dxf "$work/p.dxf" "a-b dxf"

run a-wgs "$examples/grid-points.txt" --csv "$work/p.csv"
check_csv "$work/p.csv" "$examples/grid-points.txt" output "a-wgs csv"

# A run to WGS84 writes no DXF, and says why.
rm -f "$work/p.dxf"
if run a-wgs "$examples/grid-points.txt" --dxf "$work/p.dxf" 2> "$work/error"; then
  echo "a-wgs with --dxf succeeded"; exit 1
fi
grep -q "No DXF drawing for a run to WGS84" "$work/error" || { cat "$work/error"; exit 1; }
[ ! -e "$work/p.dxf" ] || { echo "a-wgs wrote a DXF"; exit 1; }

# Neither file may be the input.
cp "$examples/wgs84-points.txt" "$work/in.txt"
for option in --dxf --csv; do
  if run wgs-a "$work/in.txt" "$option" "$work/in.txt" 2> "$work/error"; then
    echo "$option onto the input succeeded"; exit 1
  fi
  cmp -s "$work/in.txt" "$examples/wgs84-points.txt" || { echo "$option overwrote the input"; exit 1; }
done

printf '45.8 15.9 say "hi", \\ ^J 5%%%%d\x01\x1f end\n45.6 15.8 caf\xe9 \xc3( \xc5\xbd \\U+0041 \xf0\x9f\x98\x80\n45.7 15.7\n45.9 15.6 =HYPERLINK("x")\n' > "$work/hostile.txt"
run wgs-a "$work/hostile.txt" --dxf "$work/p.dxf" --csv "$work/p.csv"
[ "$(entities "$work/p.dxf" | grep -c '^POINTS')" -eq 4 ] || { echo "hostile dxf not read"; exit 1; }
python3 - "$work/p.csv" <<'PY'
import csv, sys
rows = list(csv.reader(open(sys.argv[1], encoding='utf-8-sig', newline='')))
assert len(rows) == 5 and all(len(row) == 9 for row in rows), rows
assert rows[1][0] == 'say "hi", \\ ^J 5%%d\u2401\u241f end', rows[1][0]
assert rows[2][0] == 'caf\u00e9 \u00c3( \u017d \\U+0041 \U0001F600', rows[2][0]
assert rows[4][0] == "'=HYPERLINK(\"x\")", rows[4][0]
PY
echo "DXF and CSV read back"
