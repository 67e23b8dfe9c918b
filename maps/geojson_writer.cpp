#include "maps/geojson_writer.h"

#include "common/number_text.h"
#include "maps/map_text.h"

namespace tervela {

namespace {

constexpr std::size_t kBufferSize = 64 * 1024;
constexpr char kHeader[] = "{\"type\":\"FeatureCollection\",\"features\":[";
constexpr char kFooter[] = "\n]}\n";

void AppendNumber(std::string& out, double value) {
  char digits[kMaxFixedChars];
  out.append(digits, FormatFixedTo(digits, value, kPositionDecimals));
}

void AppendStringMember(std::string& out, std::string_view key, std::string_view bytes) {
  out.push_back('"');
  out.append(key);
  out.append("\":\"");
  AppendJsonString(out, bytes);
  out.push_back('"');
}

}  // namespace

GeoJsonWriter::GeoJsonWriter(io::FileDescriptor file) : file_(std::move(file), kBufferSize) {}

Status GeoJsonWriter::Add(const TMapFeature& feature) {
  text_.assign(first_ ? kHeader : ",");
  first_ = false;
  text_.append("\n{\"type\":\"Feature\",\"geometry\":{\"type\":\"Point\",\"coordinates\":[");
  AppendNumber(text_, feature.longitude);
  text_.push_back(',');
  AppendNumber(text_, feature.latitude);
  text_.append("]},\"properties\":{");
  AppendStringMember(text_, "name", feature.name);
  for (const TMapProperty& property : feature.properties) {
    text_.push_back(',');
    AppendStringMember(text_, property.label, property.text);
  }
  text_.append("}}");
  return file_.Write(text_);
}

Status GeoJsonWriter::Finish() {
  Status written = file_.Write(first_ ? std::string(kHeader) + kFooter : std::string(kFooter));
  first_ = false;
  Status closed = file_.Close();
  return written ? closed : written;
}

}  // namespace tervela
