#include "maps/kml_writer.h"

#include "common/number_text.h"
#include "maps/map_text.h"

namespace tervela {

namespace {

constexpr std::size_t kBufferSize = 64 * 1024;
constexpr char kFooter[] = "</Document>\n</kml>\n";

void AppendNumber(std::string& out, double value) {
  char digits[kMaxFixedChars];
  out.append(digits, FormatFixedTo(digits, value, kPositionDecimals));
}

}  // namespace

KmlWriter::KmlWriter(io::FileDescriptor file, std::string_view document_name)
    : file_(std::move(file), kBufferSize) {
  header_ =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n<Document>\n<name>";
  AppendXmlText(header_, document_name);
  header_.append("</name>\n");
}

// The children of a Placemark in the order the KML 2.2 schema sets: name,
// ExtendedData, then the geometry.
Status KmlWriter::Add(const TMapFeature& feature) {
  text_.assign(header_);
  header_.clear();
  text_.append("<Placemark><name>");
  AppendXmlText(text_, feature.name);
  text_.append("</name><ExtendedData>");
  for (const TMapProperty& property : feature.properties) {
    text_.append("<Data name=\"");
    text_.append(property.label);
    text_.append("\"><value>");
    AppendXmlText(text_, property.text);
    text_.append("</value></Data>");
  }
  text_.append("</ExtendedData><Point><coordinates>");
  AppendNumber(text_, feature.longitude);
  text_.push_back(',');
  AppendNumber(text_, feature.latitude);
  text_.append("</coordinates></Point></Placemark>\n");
  return file_.Write(text_);
}

Status KmlWriter::Finish() {
  header_.append(kFooter);
  Status written = file_.Write(header_);
  header_.clear();
  Status closed = file_.Close();
  return written ? closed : written;
}

}  // namespace tervela
