// Fuzzes point-file conversion: the input is a point file, given to the run
// as an in-memory file and converted in all six directions under the
// example settings (examples/two-zones.set), each direction once without
// scripts (three-parameter shift) and once with them (seven-parameter shift).
//
// Holds for any input: the run ends; every whole line written starts with
// finite numbers in the direction's format (never "nan" or "inf"); the three
// scripts hold one line per output line; a failure is an invalid number in
// the file, a floating-point fault or the inversion's failure.

#include <sys/mman.h>
#include <unistd.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "batch/point_file_run.h"
#include "fuzz/example_settings.h"
#include "fuzz/fuzz_checks.h"
#include "test_support/scratch_folder.h"

namespace tervela::fuzz {
namespace {

constexpr std::array<TConversionDirection, 6> kDirections = {
    TConversionDirection::WgsToA, TConversionDirection::WgsToB, TConversionDirection::AToWgs,
    TConversionDirection::BToWgs, TConversionDirection::AToB,   TConversionDirection::BToA};
constexpr std::array<int, 1> kInvalidNumericInput = {file_error::kInvalidNumericInput};

// A descriptor of an in-memory file holding `bytes`, positioned at its start.
int MemoryFile(std::string_view bytes) {
  const int fd = ::memfd_create("fuzz-input", MFD_CLOEXEC);
  Require(fd >= 0, "memfd_create");
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    Require(written > 0, "writing the in-memory input");
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  Require(::lseek(fd, 0, SEEK_SET) == 0, "rewinding the in-memory input");
  return fd;
}

// The content of `path`, which is then removed; empty when it does not exist.
std::string TakeFile(const std::string& path) {
  if (!testing::Exists(path)) return {};
  std::string bytes = testing::ReadBytes(path);
  ::unlink(path.c_str());
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

void ConvertInput(std::string_view input, TConversionDirection direction, bool scripts,
                  const std::string& output_name) {
  TFileConversion request;
  request.direction = direction;
  request.method = scripts ? TShiftMethod::SevenParameter : TShiftMethod::ThreeParameter;
  request.scripts = scripts;
  request.input_name = "in-memory input";
  request.output_name = output_name;
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
