#include "maps/csv_writer.h"

#include <string_view>

#include "common/number_text.h"
#include "maps/map_text.h"

namespace tervela {

namespace {

constexpr std::size_t kBufferSize = 64 * 1024;
constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
constexpr char kLineEnd[] = "\r\n";
// 1e-9 degrees is about 0.1 mm at a kilometre; k to 1e-10.
constexpr int kConvergenceDecimals = 9;
constexpr int kScaleDecimals = 10;

// A spreadsheet reads a cell that starts with one of these as a formula, and
// a formula can fetch or run things: a point's text like that is written
// after an apostrophe, which spreadsheets take as "text, as it stands".
constexpr std::string_view kFormulaStarts = "=+-@";

void AppendText(std::string& out, std::string_view text) {
  if (text.empty() || kFormulaStarts.find(text.front()) == std::string_view::npos) {
    AppendCsvField(out, text);
    return;
  }
  AppendCsvField(out, "'" + std::string(text));
}

void AppendNumber(std::string& out, double value, int decimals) {
  char digits[kMaxFixedChars];
  out.push_back(',');
  out.append(digits, FormatFixedTo(digits, value, decimals));
}

}  // namespace

CsvWriter::CsvWriter(io::FileDescriptor file, const std::array<std::string_view, 4>& labels,
                     std::string operation)
    : file_(std::move(file), kBufferSize), header_(kByteOrderMark) {
  header_.append("text");
  for (const std::string_view label : labels) header_.append(",").append(label);
  header_.append(",wgs84_latitude,wgs84_longitude,convergence_degrees,scale_factor");
  if (!operation.empty()) {
    header_.append(",operation");
    operation_.push_back(',');
    AppendCsvField(operation_, operation);
  }
  header_.append(kLineEnd);
}

Status CsvWriter::Add(const TMapFeature& feature) {
  text_.assign(header_);
  header_.clear();
  AppendText(text_, feature.name);
  for (const TMapProperty& property : feature.properties) {
    text_.push_back(',');
    AppendCsvField(text_, property.text);
  }
  AppendNumber(text_, feature.latitude, kPositionDecimals);
  AppendNumber(text_, feature.longitude, kPositionDecimals);
  AppendNumber(text_, feature.convergence, kConvergenceDecimals);
  AppendNumber(text_, feature.scale_factor, kScaleDecimals);
  text_.append(operation_);
  text_.append(kLineEnd);
  return file_.Write(text_);
}

Status CsvWriter::Finish() {
  Status written = file_.Write(header_);
  header_.clear();
  Status closed = file_.Close();
  return written ? closed : written;
}

}  // namespace tervela
