// Fuzzes the control-file reader and the check behind it: the input is a
// control file, read from a scratch file as tervela-convert --check reads it,
// then checked and calibrated against both example systems
// (examples/two-zones.set) with both datum shifts.
//
// Holds for any input: the reading ends, and fails only with
// "Control file line N: ..." for a line N of the input or because it holds
// no point; every point has a name, on one line; every check either fails
// with an error of the product's set or gives one row per point, each with
// finite numbers, and the rows' names escaped as the command line prints
// them hold no control character; a calibration gives its rows too, or says
// why it is refused.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "cli/terminal_text.h"
#include "control/check_table.h"
#include "control/control_run.h"
#include "fuzz/example_settings.h"
#include "fuzz/fuzz_checks.h"
#include "test_support/scratch_folder.h"

namespace tervela::fuzz {
namespace {

// "Control file line N: " with N from 1 to the input's line count.
bool IsLineError(const Error& error, std::string_view input) {
  std::string_view message = error.message();
  if (error.kind() != ErrorKind::File || !ConsumeLiteral(message, "Control file line ")) return false;
  std::size_t line = 0;
  while (!message.empty() && message.front() >= '0' && message.front() <= '9') {
    line = line * 10 + static_cast<std::size_t>(message.front() - '0');
    message.remove_prefix(1);
    if (line > input.size() + 1) return false;
  }
  // LF, CR LF and a lone CR end a line: at most one line per LF or CR.
  const std::size_t lines = static_cast<std::size_t>(std::count(input.begin(), input.end(), '\n') +
                                                     std::count(input.begin(), input.end(), '\r')) + 1;
  return line >= 1 && line <= lines && ConsumeLiteral(message, ": ");
}

void CheckRows(const std::vector<TControlPoint>& points, const TControlCheck& check) {
  Require(check.residuals.size() == points.size() && check.outliers.size() == points.size(),
          "one residual per point");
  for (std::size_t i = 0; i < points.size(); ++i) {
    const std::string name = EscapeControlCharacters(points[i].name);
    for (const char c : name) {
      Require(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F, "an escaped name holds no control byte");
    }
    const std::string row_text = CheckRowText(name, check.residuals[i], check.outliers[i]);
    std::string_view row = row_text;
    Require(ConsumeLiteral(row, name) && ConsumeLiteral(row, "\t") && ConsumeFixed(row, 3, '.') &&
                ConsumeLiteral(row, "\t") && ConsumeFixed(row, 3, '.') && ConsumeLiteral(row, "\t") &&
                ConsumeFixed(row, 3, '.') && (row.empty() || row == "\toutlier"),
            "a row is a name and three finite numbers");
  }
  const std::string summary_text = CheckSummaryText(check);
  std::string_view summary = summary_text;
  Require(ConsumeLiteral(summary, "points "), "a summary line");
}

bool IsCheckError(const Error& error, std::string_view input) {
  return IsLineError(error, input) || error == Error::NoControlPointToFit() ||
         IsProductError(error, {}, {});
}

}  // namespace
}  // namespace tervela::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tervela;
  using namespace tervela::fuzz;
  static const testing::ScratchFolder folder;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::string path = folder / "control.txt";
  testing::WriteBytes(path, input);
  const Result<std::vector<TControlPoint>> points = ReadControlFile(path);
  if (!points) {
    Require(IsLineError(points.error(), input) || points.error() == Error::NoControlPoint(),
            "a reading fails only with a line's error or for want of a point");
    return 0;
  }
  for (const TControlPoint& point : points.value()) {
    Require(!point.name.empty() && point.name.find_first_of("\r\n") == std::string::npos, "a name on one line");
  }
  for (const TLocalSystem system : {TLocalSystem::A, TLocalSystem::B}) {
    for (const TShiftMethod method : {TShiftMethod::ThreeParameter, TShiftMethod::SevenParameter}) {
      const Result<TControlReport> report =
          RunControlCheck(ExampleSystems(), points.value(), {system, method, '.', true});
      if (!report) {
        Require(IsCheckError(report.error(), input), "a check fails only with the product's errors");
        continue;
      }
      CheckRows(points.value(), report.value().check);
      Require(report.value().calibrated_check || !report.value().calibration_refusal.empty(),
              "a calibration gives its rows or says why it is refused");
      if (report.value().calibrated_check) CheckRows(points.value(), *report.value().calibrated_check);
    }
  }
  return 0;
}
