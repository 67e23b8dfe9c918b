// Fuzzes point-file conversion: the input is a point file, given to the run
// as an in-memory file and converted in all six directions under the
// example settings (examples/two-zones.set), each direction once without
// scripts (three-parameter shift) and once with them, the CSV table and, to
// a grid, the DXF drawing (seven-parameter shift).
//
// Holds for any input: the run ends; every whole line written starts with
// finite numbers in the direction's format (never "nan" or "inf"); the three
// scripts hold one line per output line; the CSV is a header and one RFC 4180
// record of UTF-8 fields, without control bytes, per output line, its
// numbers finite; the DXF is whole group pairs, ended, one point per output
// line, no value longer than 255 bytes or holding a control byte; a failure is an invalid number in
// the file, a floating-point fault or the inversion's failure.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "batch/point_file_run.h"
#include "common/utf8.h"
#include "fuzz/example_settings.h"
#include "fuzz/fuzz_checks.h"
#include "test_support/scratch_folder.h"
#include "test_support/system.h"

namespace tervela::fuzz {
namespace {

constexpr std::array<TConversionDirection, 6> kDirections = {
    TConversionDirection::WgsToA, TConversionDirection::WgsToB, TConversionDirection::AToWgs,
    TConversionDirection::BToWgs, TConversionDirection::AToB,   TConversionDirection::BToA};
constexpr std::array<int, 1> kInvalidNumericInput = {file_error::kInvalidNumericInput};

// A descriptor of an in-memory file holding `bytes`, positioned at its start.
int MemoryFile(std::string_view bytes) {
  const int fd = testing::DescriptorHolding(std::string(bytes));
  Require(fd >= 0, "making the in-memory input");
  return fd;
}

// The content of `path`, which is then removed; empty when it does not exist.
std::string TakeFile(const std::string& path) {
  if (!testing::Exists(path)) return {};
  std::string bytes = testing::ReadBytes(path);
  std::remove(path.c_str());
  return bytes;
}

// The lines of `bytes` that end with CR LF, without it.
std::vector<std::string_view> WholeLines(std::string_view bytes) {
  std::vector<std::string_view> lines;
  for (std::size_t end; (end = bytes.find("\r\n")) != std::string_view::npos;) {
    lines.push_back(bytes.substr(0, end));
    bytes.remove_prefix(end + 2);
  }
  return lines;
}

// "X,Y" as the scripts write a position: one decimal each.
bool ConsumePosition(std::string_view& line) {
  return ConsumeFixed(line, 1, '.') && ConsumeLiteral(line, ",") && ConsumeFixed(line, 1, '.');
}

void CheckOutput(const std::vector<std::string_view>& lines, TConversionDirection direction) {
  const int decimals = ToWgs(direction) ? 8 : 3;
  for (std::string_view line : lines) {
    Require(ConsumeFixed(line, decimals, '.') && ConsumeLiteral(line, " ") &&
                ConsumeFixed(line, decimals, '.') && (FromWgs(direction) || ConsumeLiteral(line, " ")),
            "an output line starts with two finite numbers");
  }
}

void CheckScripts(std::size_t output_lines, const std::string& text, const std::string& point,
                  const std::string& number) {
  const std::vector<std::string_view> text_lines = WholeLines(text);
  const std::vector<std::string_view> point_lines = WholeLines(point);
  const std::vector<std::string_view> number_lines = WholeLines(number);
  Require(text_lines.size() == output_lines && point_lines.size() == output_lines &&
              number_lines.size() == output_lines,
          "one script line per output line");
  for (std::size_t i = 0; i < output_lines; ++i) {
    std::string_view t = text_lines[i], p = point_lines[i], n = number_lines[i];
    Require(ConsumeLiteral(t, "text ") && ConsumePosition(t) && ConsumeLiteral(t, " 5 0 "),
            "a text script line");
    Require(ConsumeLiteral(p, "point ") && ConsumePosition(p) && p.empty(), "a point script line");
    Require(ConsumeLiteral(n, "text ") && ConsumePosition(n) && ConsumeLiteral(n, " 3 0 ") &&
                n == std::to_string(i + 1),
            "a numbering script line");
  }
}

// The fields of the CSV record at the front of `text` (RFC 4180), which is
// consumed with its CR LF; false for a record that is not well formed.
bool ConsumeCsvRecord(std::string_view& text, std::vector<std::string>& fields) {
  fields.assign(1, {});
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] == '"' && fields.back().empty()) {
      for (++i;; ++i) {
        if (i >= text.size()) return false;
        if (text[i] == '"' && (i + 1 >= text.size() || text[i + 1] != '"')) break;
        if (text[i] == '"') ++i;
        fields.back().push_back(text[i]);
      }
      ++i;
      if (i >= text.size() || (text[i] != ',' && text[i] != '\r')) return false;
    }
    if (text[i] == ',') {
      fields.emplace_back();
    } else if (text[i] == '\r') {
      if (text.substr(i, 2) != "\r\n") return false;
      text.remove_prefix(i + 2);
      return true;
    } else if (text[i] == '"' || text[i] == '\n') {
      return false;
    } else {
      fields.back().push_back(text[i]);
    }
    ++i;
  }
  return false;
}

// Well-formed UTF-8 without control bytes.
bool PlainUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x20) return false;
    const std::size_t length = byte < 0x80 ? 1 : Utf8SequenceLength(text.substr(i));
    if (length == 0) return false;
    i += length;
  }
  return true;
}

bool WholeFixed(std::string_view text, int decimals) {
  return ConsumeFixed(text, decimals, '.') && text.empty();
}

void CheckCsv(std::size_t output_lines, std::string_view table) {
  std::vector<std::string> fields;
  Require(ConsumeLiteral(table, "\xEF\xBB\xBF") && ConsumeCsvRecord(table, fields) &&
              fields.size() == 9 && fields[0] == "text",
          "a CSV table starts with its byte-order mark and header");
  std::size_t records = 0;
  while (!table.empty()) {
    Require(ConsumeCsvRecord(table, fields) && fields.size() == 9, "a CSV record of nine fields");
    for (const std::string& field : fields) Require(PlainUtf8(field), "a CSV field in plain UTF-8");
    Require(WholeFixed(fields[5], 10) && WholeFixed(fields[6], 10) && WholeFixed(fields[7], 9) &&
                WholeFixed(fields[8], 10),
            "finite CSV numbers");
    ++records;
  }
  Require(records == output_lines, "one CSV record per output line");
}

void CheckDxf(std::size_t output_lines, std::string_view drawing) {
  const std::vector<std::string_view> lines = WholeLines(drawing);
  Require(lines.size() % 2 == 0, "DXF groups in pairs of lines");
  std::size_t points = 0;
  for (std::size_t i = 0; i < lines.size(); i += 2) {
    std::string_view code = lines[i];
    while (!code.empty() && code.front() == ' ') code.remove_prefix(1);
    Require(WholeFixed(code, 0), "a DXF group code");
    Require(lines[i + 1].size() <= 255, "a DXF value of at most 255 bytes");
    for (const char c : lines[i + 1]) {
      Require(static_cast<unsigned char>(c) >= 0x20, "a DXF value without control bytes");
    }
    if (code == "0" && lines[i + 1] == "POINT") ++points;
  }
  Require(lines.size() >= 4 && lines[lines.size() - 2] == "  0" && lines.back() == "EOF" &&
              drawing.ends_with("EOF\r\n"),
          "a DXF drawing ended");
  Require(points == output_lines, "one DXF point per output line");
}

void ConvertInput(std::string_view input, TConversionDirection direction, bool scripts,
                  const std::string& output_name) {
  TFileConversion request;
  request.direction = direction;
  request.method = scripts ? TShiftMethod::SevenParameter : TShiftMethod::ThreeParameter;
  request.scripts = scripts;
  request.input_name = "in-memory input";
  request.output_name = output_name;
  if (scripts) {
    request.csv_name = output_name + ".csv";
    if (!ToWgs(direction)) request.dxf_name = output_name + ".dxf";
  }
  TRunEndpoints endpoints;
  endpoints.input_fd = MemoryFile(input);
  const Status status = ConvertPointFile(request, ExampleSystems(), endpoints);
  Require(status.ok() || IsProductError(status.error(), {}, kInvalidNumericInput),
          "a run fails only with an error of the product's set");

  const std::string output = TakeFile(output_name);
  const std::vector<std::string_view> lines = WholeLines(output);
  CheckOutput(lines, direction);
  if (scripts) {
    const std::string text = TakeFile(output_name + " text.scr");
    const std::string point = TakeFile(output_name + " point.scr");
    const std::string number = TakeFile(output_name + " prognumb.scr");
    CheckScripts(lines.size(), text, point, number);
    CheckCsv(lines.size(), TakeFile(request.csv_name));
    if (!request.dxf_name.empty()) CheckDxf(lines.size(), TakeFile(request.dxf_name));
  }
}

}  // namespace
}  // namespace tervela::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tervela::fuzz;
  static const tervela::testing::ScratchFolder folder;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  for (tervela::TConversionDirection direction : kDirections) {
    for (bool scripts : {false, true}) ConvertInput(input, direction, scripts, folder / "out.txt");
  }
  return 0;
}
