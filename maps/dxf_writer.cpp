#include "maps/dxf_writer.h"

#include <string_view>

#include "common/number_text.h"
#include "maps/map_text.h"

namespace tervela {

namespace {

constexpr std::size_t kBufferSize = 64 * 1024;
constexpr int kGridDecimals = 4;
// The heights and offset of the drawing scripts (batch/record_lines.h).
constexpr std::string_view kTextHeight = "5.0";
constexpr std::string_view kNumberHeight = "3.0";
constexpr long double kNumberBelow = 4.0L;

constexpr std::string_view kPointLayer = "POINTS";
constexpr std::string_view kTextLayer = "POINT_TEXTS";
constexpr std::string_view kNumberLayer = "POINT_NUMBERS";

// One group: its code right-aligned in three columns, then its value, each
// on a line of its own.
void AppendGroup(std::string& out, int code, std::string_view value) {
  const std::string digits = std::to_string(code);
  out.append(3 - digits.size(), ' ');
  out.append(digits);
  out.append("\r\n");
  out.append(value);
  out.append("\r\n");
}

void AppendCoordinate(std::string& out, int code, long double value) {
  AppendGroup(out, code, FormatFixed(value, kGridDecimals, '.'));
}

// A layer of the LAYER table: continuous lines in ACI colour `colour`.
void AppendLayer(std::string& out, std::string_view name, std::string_view colour) {
  AppendGroup(out, 0, "LAYER");
  AppendGroup(out, 2, name);
  AppendGroup(out, 70, "0");
  AppendGroup(out, 62, colour);
  AppendGroup(out, 6, "CONTINUOUS");
}

// The header, the tables the entities refer to (line type, layers, text
// style) and the start of the entities.
std::string DrawingStart() {
  std::string out;
  AppendGroup(out, 0, "SECTION");
  AppendGroup(out, 2, "HEADER");
  AppendGroup(out, 9, "$ACADVER");
  AppendGroup(out, 1, "AC1009");
  AppendGroup(out, 9, "$DWGCODEPAGE");
  AppendGroup(out, 3, "ANSI_1252");
  // Points drawn as a circle with a cross, 1 unit across, so they show.
  AppendGroup(out, 9, "$PDMODE");
  AppendGroup(out, 70, "35");
  AppendGroup(out, 9, "$PDSIZE");
  AppendGroup(out, 40, "1.0");
  AppendGroup(out, 0, "ENDSEC");
  AppendGroup(out, 0, "SECTION");
  AppendGroup(out, 2, "TABLES");
  AppendGroup(out, 0, "TABLE");
  AppendGroup(out, 2, "LTYPE");
  AppendGroup(out, 70, "1");
  AppendGroup(out, 0, "LTYPE");
  AppendGroup(out, 2, "CONTINUOUS");
  AppendGroup(out, 70, "0");
  AppendGroup(out, 3, "Solid line");
  AppendGroup(out, 72, "65");
  AppendGroup(out, 73, "0");
  AppendGroup(out, 40, "0.0");
  AppendGroup(out, 0, "ENDTAB");
  AppendGroup(out, 0, "TABLE");
  AppendGroup(out, 2, "LAYER");
  AppendGroup(out, 70, "4");
  AppendLayer(out, "0", "7");
  AppendLayer(out, kPointLayer, "1");
  AppendLayer(out, kTextLayer, "7");
  AppendLayer(out, kNumberLayer, "5");
  AppendGroup(out, 0, "ENDTAB");
  AppendGroup(out, 0, "TABLE");
  AppendGroup(out, 2, "STYLE");
  AppendGroup(out, 70, "1");
  AppendGroup(out, 0, "STYLE");
  AppendGroup(out, 2, "STANDARD");
  AppendGroup(out, 70, "0");
  AppendGroup(out, 40, "0.0");
  AppendGroup(out, 41, "1.0");
  AppendGroup(out, 50, "0.0");
  AppendGroup(out, 71, "0");
  AppendGroup(out, 42, "2.5");
  AppendGroup(out, 3, "txt");
  AppendGroup(out, 4, "");
  AppendGroup(out, 0, "ENDTAB");
  AppendGroup(out, 0, "ENDSEC");
  AppendGroup(out, 0, "SECTION");
  AppendGroup(out, 2, "ENTITIES");
  return out;
}

// A TEXT entity on `layer` at (x, y), `height` high, its string formed by `text`.
template <class Text>
void AppendText(std::string& out, std::string_view layer, long double x, long double y,
                std::string_view height, Text text) {
  AppendGroup(out, 0, "TEXT");
  AppendGroup(out, 8, layer);
  AppendCoordinate(out, 10, x);
  AppendCoordinate(out, 20, y);
  AppendGroup(out, 30, "0.0");
  AppendGroup(out, 40, height);
  AppendGroup(out, 7, "STANDARD");
  out.append("  1\r\n");
  text(out);
  out.append("\r\n");
}

}  // namespace

DxfWriter::DxfWriter(io::FileDescriptor file)
    : file_(std::move(file), kBufferSize), header_(DrawingStart()) {}

Status DxfWriter::Add(const TMapFeature& feature) {
  text_.assign(header_);
  header_.clear();
  const long double x = feature.easting, y = feature.northing;
  AppendGroup(text_, 0, "POINT");
  AppendGroup(text_, 8, kPointLayer);
  AppendCoordinate(text_, 10, x);
  AppendCoordinate(text_, 20, y);
  AppendGroup(text_, 30, "0.0");
  AppendText(text_, kTextLayer, x, y, kTextHeight,
             [&](std::string& out) { AppendDxfText(out, feature.name); });
  AppendText(text_, kNumberLayer, x, y - kNumberBelow, kNumberHeight,
             [&](std::string& out) { out.append(std::to_string(feature.number)); });
  return file_.Write(text_);
}

Status DxfWriter::Finish() {
  std::string end = std::move(header_);
  header_.clear();
  AppendGroup(end, 0, "ENDSEC");
  AppendGroup(end, 0, "EOF");
  Status written = file_.Write(end);
  Status closed = file_.Close();
  return written ? closed : written;
}

}  // namespace tervela
