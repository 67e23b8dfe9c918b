#include "batch/record_lines.h"

#include <charconv>
#include <cstring>

#include "common/number_text.h"

namespace tervela {

namespace {

char* Append(char* out, const char* text) {
  const std::size_t size = std::strlen(text);
  std::memcpy(out, text, size);
  return out + size;
}

// "X,Y" with one decimal each.
char* WriteScriptPosition(char* out, double x, double y) {
  out = FormatFixedTo(out, x, 1);
  *out++ = ',';
  return FormatFixedTo(out, y, 1);
}

}  // namespace

char* WriteOutputFields(char* out, TConversionDirection direction, const TWorkingPoint& point) {
  if (ToWgs(direction)) {
    out = FormatFixedTo(out, point.Latitude, 8);
    *out++ = ' ';
    out = FormatFixedTo(out, point.Longitude, 8);
    *out++ = ' ';
    return out;
  }
  out = FormatFixedTo(out, point.Northing, 3);
  *out++ = ' ';
  out = FormatFixedTo(out, point.Easting, 3);
  if (GridToGrid(direction)) *out++ = ' ';
  return out;
}

char* WriteLineEnd(char* out) { return Append(out, kLineEnd); }

char* WritePointLine(char* out, const TWorkingPoint& point) {
  out = Append(out, "point ");
  out = WriteScriptPosition(out, point.Easting, point.Northing);
  return Append(out, kLineEnd);
}

char* WriteTextLineStart(char* out, const TWorkingPoint& point) {
  out = Append(out, "text ");
  out = WriteScriptPosition(out, point.Easting, point.Northing);
  return Append(out, " 5 0 ");
}

char* WriteNumberLine(char* out, const TWorkingPoint& point, std::int64_t number) {
  out = Append(out, "text ");
  out = FormatFixedTo(out, point.Easting, 1);
  *out++ = ',';
  // The label sits 4 units below the point; the difference is taken in wider
  // precision and rounded once.
  const std::string below = FormatFixed(static_cast<long double>(point.Northing) - 4.0L, 1, '.');
  out = Append(out, below.c_str());
  out = Append(out, " 3 0 ");
  out = std::to_chars(out, out + 24, number).ptr;
  return Append(out, kLineEnd);
}

}  // namespace tervela
