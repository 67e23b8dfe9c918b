// The control-file reader: whole lines of four point-file numbers and a name.

#include "control/control_file.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include "common/number_text.h"
#include "io/buffered_reader.h"
#include "io/files.h"

namespace tervela {

namespace {

constexpr std::size_t kReadBufferSize = 65536;
constexpr std::string_view kFieldSeparators = " \t";
constexpr std::array<std::string_view, 4> kNumberNames = {"latitude", "longitude", "northing",
                                                           "easting"};
// The largest magnitude of each number: degrees, degrees, metres, metres.
// The grid limit is far beyond any grid and keeps every residual finite.
constexpr std::array<double, 4> kLimits = {90, 180, 1e9, 1e9};

std::string_view TrimSeparators(std::string_view text) {
  const std::size_t first = text.find_first_not_of(kFieldSeparators);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kFieldSeparators) - first + 1);
}

// Takes the next run of bytes other than blanks and tabs from the front of `rest`.
std::string_view TakeToken(std::string_view& rest) {
  rest = TrimSeparators(rest);
  const std::size_t end = std::min(rest.find_first_of(kFieldSeparators), rest.size());
  const std::string_view token = rest.substr(0, end);
  rest.remove_prefix(end);
  return token;
}

// One line that holds data: its four numbers and its name.
Result<TControlPoint> ParseLine(std::string_view line, std::size_t number) {
  TControlPoint point;
  point.line = number;
  double* const values[] = {&point.latitude, &point.longitude, &point.northing, &point.easting};
  for (std::size_t i = 0; i < kNumberNames.size(); ++i) {
    const std::string_view token = TakeToken(line);
    if (token.empty()) {
      return Error::ControlLine(number, "four numbers expected, " + std::string(kNumberNames[i]) +
                                            " missing");
    }
    const Result<double> value = ParseFileNumber(token);
    if (!value || !(std::fabs(value.value()) <= kLimits[i])) {
      return Error::ControlLine(number, "'" + QuotedText(token) + "' is not a valid " +
                                            std::string(kNumberNames[i]));
    }
    *values[i] = value.value();
  }
  point.name = TrimSeparators(line);
  if (point.name.empty()) point.name = std::to_string(number);
  return point;
}

}  // namespace

Result<std::vector<TControlPoint>> ParseControlPoints(std::string_view text) {
  std::vector<TControlPoint> points;
  for (std::size_t number = 1; !text.empty(); ++number) {
    const std::size_t end = std::min(text.find_first_of("\r\n"), text.size());
    const std::string_view line = text.substr(0, end);
    const bool crlf = text.substr(end).starts_with("\r\n");
    text.remove_prefix(std::min(end + (crlf ? 2 : 1), text.size()));
    const std::string_view content = TrimSeparators(line);
    if (content.empty() || content.front() == '#') continue;
    Result<TControlPoint> point = ParseLine(line, number);
    if (!point) return point.error();
    points.push_back(std::move(point.value()));
  }
  if (points.empty()) return Error::NoControlPoint();
  return points;
}

Result<std::vector<TControlPoint>> ReadControlFile(const std::string& path) {
  Result<io::FileDescriptor> opened = io::OpenForReading(path);
  if (!opened) return opened.error();
  io::BufferedReader input(std::move(opened.value()), kReadBufferSize);
  std::string text;
  for (;;) {
    const Result<bool> more = input.Fill();
    if (!more) return more.error();
    if (!more.value()) break;
    if (text.size() + input.size() > kMaxControlFileBytes) return Error::ControlFileTooLarge();
    text.append(input.data(), input.size());
    input.Consume(input.size());
  }
  if (const Status closed = input.Close(); !closed) return closed.error();
  return ParseControlPoints(text);
}

}  // namespace tervela
