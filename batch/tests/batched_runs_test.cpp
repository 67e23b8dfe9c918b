// Grid-to-WGS84 and grid-to-grid runs convert batches of records on two
// threads; their files and errors must be those of one record at a time.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "batch/point_file_run.h"
#include "batch/tests/run_helpers.h"

namespace tervela {
namespace {

using testing::RunOn;
using D = TConversionDirection;

// Grid points spread over the area the inversion serves.
std::vector<std::string> GridLines(int count) {
  std::vector<std::string> lines;
  for (int i = 0; i < count; ++i) {
    lines.push_back(std::to_string(4430000 + 1357 * i) + "." + std::to_string(i % 1000) + " " +
                    std::to_string(300000 + 977 * (i % 400)) + " P" + std::to_string(i));
  }
  return lines;
}

// Each line converted on its own: too short a file for a second thread.
std::string OneByOne(const std::vector<std::string>& lines, D direction, bool scripts, int script) {
  std::string expected;
  for (const std::string& line : lines) {
    const testing::RunOutcome single = RunOn(line + "\n", direction, TShiftMethod::ThreeParameter, scripts);
    expected += script < 0 ? single.output : single.scripts[script];
  }
  return expected;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

TEST(BatchedRuns, WriteWhatSingleRecordsWrite) {
  const std::vector<std::string> lines = GridLines(300);
  for (const D direction : {D::AToWgs, D::BToA}) {
    const testing::RunOutcome run = RunOn(Joined(lines), direction, TShiftMethod::ThreeParameter, true);
    EXPECT_EQ(run.error, "");
    EXPECT_TRUE(run.output == OneByOne(lines, direction, false, -1));
    EXPECT_TRUE(run.scripts[0] == OneByOne(lines, direction, true, 0));
  }
}

TEST(BatchedRuns, StopAtABadRecordAfterWritingThoseBefore) {
  std::vector<std::string> lines = GridLines(300);
  const std::vector<std::string> before(lines.begin(), lines.begin() + 250);
  lines[250] = "5000000 4OOOOO";
  const testing::RunOutcome run = RunOn(Joined(lines), D::AToB, TShiftMethod::ThreeParameter, true);
  EXPECT_EQ(run.error, "Invalid numeric input.");
  EXPECT_TRUE(run.output == OneByOne(before, D::AToB, false, -1));
  EXPECT_EQ(run.scripts[2].substr(run.scripts[2].rfind(" 3 0 ")), " 3 0 250\r\n");
}

// The points far from a central meridian, and those outside the area of use
// watched for grid A (12 to 18 E), counted across the batches and the records
// converted one at a time, up to a bad record: from WGS84 on the grid, and
// from grid A (central meridian 15 E) on both grids.
TEST(BatchedRuns, CountThePointsFarFromTheCentralMeridianOrOutsideTheArea) {
  std::string wgs;  // 7.5 to 22.5 east
  for (int i = 0; i < 3000; ++i) wgs += "45.2 " + std::to_string(15 + (i % 7 - 3) * 2.5) + "\n";
  for (const D direction : {D::WgsToA, D::AToB}) {
    const std::string input = FromWgs(direction) ? wgs : RunOn(wgs, D::WgsToA).output;
    testing::ScratchFolder folder;
    testing::WriteBytes(folder / "in.txt", input + "bad\n");
    RunWarnings warnings;
    warnings.Watch(TLocalSystem::A, {"12 to 18 E", {12, 40, 18, 50}});
    TRunEndpoints endpoints;
    endpoints.warnings = &warnings;
    const TFileConversion request{direction, TShiftMethod::ThreeParameter, false,
                                  folder / "in.txt", folder / "out.txt"};
    EXPECT_FALSE(ConvertPointFile(request, testing::WorkedExampleSystems(), endpoints).ok());
    // 7.5 and 22.5 east, two in seven records.
    EXPECT_EQ(warnings.Count(TRunWarning::FarFromCentralMeridian), 3000u / 7 * 2 + 1);
    // 7.5, 10, 20 and 22.5 east; the last four records 7.5 to 15 east.
    EXPECT_EQ(warnings.Count(TRunWarning::OutsideOperationAreaA), 3000u / 7 * 4 + 2);
    EXPECT_EQ(warnings.Count(TRunWarning::OutsideOperationAreaB), 0u);
  }
}

TEST(BatchedRuns, StreamALineTooLongForTheBatch) {
  std::vector<std::string> lines = GridLines(200);
  lines[150] += std::string(700 * 1024, 'w');
  // Lines that fit the input buffer but not, all three, the batch's text.
  for (int i = 151; i < 154; ++i) lines[i] += std::string(200 * 1024, static_cast<char>('a' + i % 26));
  const testing::RunOutcome run = RunOn(Joined(lines), D::AToWgs);
  EXPECT_EQ(run.error, "");
  EXPECT_TRUE(run.output == OneByOne(lines, D::AToWgs, false, -1));
}

}  // namespace
}  // namespace tervela
