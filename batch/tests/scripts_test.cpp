// The drawing scripts written beside the output.

#include <gtest/gtest.h>

#include "batch/tests/run_helpers.h"

namespace tervela {
namespace {

using testing::RunOn;
using D = TConversionDirection;
using M = TShiftMethod;

const std::string kWgs = "45.22568 13.58477";
const std::string kGridA = "5010498.551 388863.697";

// The three script files' expected bytes for the same position repeated.
std::array<std::string, 3> ScriptsAt(const std::string& x, const std::string& y, const std::string& y4,
                                     const std::vector<std::string>& free_texts) {
  std::array<std::string, 3> scripts;
  int number = 0;
  for (const std::string& text : free_texts) {
    scripts[0] += "text " + x + "," + y + " 5 0 " + text + "\r\n";
    scripts[1] += "point " + x + "," + y + "\r\n";
    scripts[2] += "text " + x + "," + y4 + " 3 0 " + std::to_string(++number) + "\r\n";
  }
  return scripts;
}

TEST(Scripts, OneLineOfEachPerRecordNumberedFromOne) {
  const testing::RunOutcome run =
      RunOn(kWgs + " free text\n" + kWgs + "\n" + kWgs + "\tc\n", D::WgsToA, M::ThreeParameter, true);
  EXPECT_EQ(run.error, "");
  EXPECT_EQ(run.scripts, ScriptsAt("388863.7", "5010498.6", "5010494.6", {" free text", "", "\tc"}));
}

TEST(Scripts, GridToWgsUsesTheGridImageOfTheResult) {
  const testing::RunOutcome run = RunOn(kGridA + " p\n" + kGridA + "\n", D::AToWgs, M::ThreeParameter, true);
  EXPECT_EQ(run.scripts, ScriptsAt("388863.7", "5010498.6", "5010494.6", {" p", ""}));
}

TEST(Scripts, GridToGridUsesTheTargetGridAndNumbersToo) {
  const testing::RunOutcome run = RunOn(kGridA + " p\n", D::AToB, M::ThreeParameter, true);
  EXPECT_EQ(run.scripts, ScriptsAt("388948.1", "5009927.2", "5009923.2", {" p"}));
}

TEST(Scripts, LinesBeforeAFailureAreKept) {
  const testing::RunOutcome run =
      RunOn(kWgs + " a\n" + kWgs + " b\n45.2 13.5. c\n" + kWgs + " d\n", D::WgsToA, M::ThreeParameter, true);
  EXPECT_EQ(run.error, "Invalid numeric input.");
  EXPECT_EQ(run.output, "5010498.551 388863.697 a\r\n5010498.551 388863.697 b\r\n");
  EXPECT_EQ(run.scripts, ScriptsAt("388863.7", "5010498.6", "5010494.6", {" a", " b"}));
}

TEST(Scripts, ASecondRunReplacesTheFirstAndNumbersFromOne) {
  testing::ScratchFolder folder;
  const TFileConversion request{D::WgsToA, M::ThreeParameter, true, folder / "in.txt", folder / "out.txt"};
  testing::WriteBytes(folder / "in.txt", kWgs + " a\n" + kWgs + " b\n");
  ASSERT_TRUE(ConvertPointFile(request, testing::WorkedExampleSystems()).ok());
  testing::WriteBytes(folder / "in.txt", kWgs + " c\n");
  ASSERT_TRUE(ConvertPointFile(request, testing::WorkedExampleSystems()).ok());
  const auto expected = ScriptsAt("388863.7", "5010498.6", "5010494.6", {" c"});
  EXPECT_EQ(testing::ReadBytes(folder / "out.txt text.scr"), expected[0]);
  EXPECT_EQ(testing::ReadBytes(folder / "out.txt prognumb.scr"), expected[2]);
}

TEST(Scripts, TenMegabyteLineIsCopiedWhole) {
  std::string text(10 * 1024 * 1024, ' ');
  for (std::size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char>('!' + i % 90);
  const testing::RunOutcome run = RunOn(kWgs + " " + text + "\r\n" + kWgs + " end", D::WgsToA,
                                        M::ThreeParameter, true);
  EXPECT_EQ(run.error, "");
  EXPECT_TRUE(run.output == kGridA + " " + text + "\r\n" + kGridA + " end\r\n");
  EXPECT_TRUE(run.scripts[0] == "text 388863.7,5010498.6 5 0  " + text +
                                    "\r\ntext 388863.7,5010498.6 5 0  end\r\n");
  EXPECT_EQ(run.scripts[1].size(), 2 * std::string("point 388863.7,5010498.6\r\n").size());
}

}  // namespace
}  // namespace tervela
