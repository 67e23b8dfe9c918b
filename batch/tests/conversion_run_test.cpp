// Whole runs: input bytes in, output and script bytes out, for every
// direction and method, with the engine's worked examples as the numbers.

#include <gtest/gtest.h>

#include "batch/tests/run_helpers.h"

namespace tervela {
namespace {

using testing::RunOn;
using D = TConversionDirection;
using M = TShiftMethod;

const char kMissing[] = "<missing>";

struct RunCase {
  const char* name;
  D direction;
  M method;
  std::string input;
  std::string output;
  std::string error;  // the error-box text, "" on success
  TSettingsTexts settings = testing::WorkedExampleSettings();
};

class Runs : public ::testing::TestWithParam<RunCase> {};

TEST_P(Runs, WriteTheseLines) {
  const RunCase& c = GetParam();
  const testing::RunOutcome outcome = RunOn(c.input, c.direction, c.method, false, c.settings);
  EXPECT_EQ(outcome.error, c.error);
  EXPECT_EQ(outcome.output, c.output);
  EXPECT_EQ(outcome.scripts[0], kMissing);  // script output off: no script touched
}

const std::string kWgs = "45.22568 13.58477";
const std::string kGridA = "5010498.551 388863.697";
const std::string kGridB3 = "5009927.168 388948.141";

INSTANTIATE_TEST_SUITE_P(
    PointFile, Runs,
    ::testing::Values(
        RunCase{"WgsToA", D::WgsToA, M::ThreeParameter, kWgs + " free text\r\n", kGridA + " free text\r\n", ""},
        RunCase{"WgsToBThree", D::WgsToB, M::ThreeParameter, kWgs + " p1\r\n", kGridB3 + " p1\r\n", ""},
        RunCase{"WgsToBSeven", D::WgsToB, M::SevenParameter, kWgs + " p1\r\n", "5009854.659 388748.192 p1\r\n", ""},
        RunCase{"AToWgs", D::AToWgs, M::ThreeParameter, kGridA + " free text\n",
                "45.22568000 13.58477000  free text\r\n", ""},
        RunCase{"AToWgsSevenOnZeroSet", D::AToWgs, M::SevenParameter, kGridA + "\n", "45.22568000 13.58477000 \r\n", ""},
        RunCase{"AToBSameSystems", D::AToB, M::ThreeParameter, kGridA + " free text\n", kGridA + "  free text\r\n", "",
                testing::IdenticalSystemsSettings()},
        RunCase{"BToASameSystemsSeven", D::BToA, M::SevenParameter, kGridA + " t\n", kGridA + "  t\r\n", "",
                testing::IdenticalSystemsSettings()},
        RunCase{"WgsNoFreeText", D::WgsToA, M::ThreeParameter, kWgs + "\n", kGridA + "\r\n", ""},
        RunCase{"GridNoFreeText", D::AToB, M::ThreeParameter, kGridA, kGridA + " \r\n", "",
                testing::IdenticalSystemsSettings()},
        RunCase{"TabBeforeText", D::WgsToA, M::ThreeParameter, kWgs + "\tt 1\n", kGridA + "\tt 1\r\n", ""},
        RunCase{"LfAndCrLfMixed", D::WgsToA, M::ThreeParameter, kWgs + " a\n" + kWgs + " b\r\n" + kWgs + " c",
                kGridA + " a\r\n" + kGridA + " b\r\n" + kGridA + " c\r\n", ""},
        RunCase{"SignsExponentsNoDecimals", D::WgsToA, M::ThreeParameter,
                "+45.22568 1.358477E1 a\n4522568e-5 +13.58477e0 b\n", kGridA + " a\r\n" + kGridA + " b\r\n", ""},
        RunCase{"EmptyInput", D::WgsToA, M::ThreeParameter, "", "", ""},
        RunCase{"EmptyLinesBetween", D::WgsToA, M::ThreeParameter, "\r\n" + kWgs + " a\r\n\r\n  \r\n" + kWgs + " b\r\n",
                kGridA + " a\r\n" + kGridA + " b\r\n", ""},
        RunCase{"CtrlZEndsData", D::WgsToA, M::ThreeParameter, kWgs + " a\x1a\n" + kWgs + " b\n", kGridA + " a\r\n", ""},
        RunCase{"SixtyFourCharacterNumber", D::WgsToA, M::ThreeParameter,
                std::string(56, '0') + kWgs + " t\n", kGridA + " t\r\n", ""},
        RunCase{"DecimalCommaStopsRun", D::WgsToA, M::ThreeParameter,
                kWgs + " a\n45,22568 13.58477 b\n" + kWgs + " c\n", kGridA + " a\r\n", "Invalid numeric input."},
        RunCase{"ColumnTitles", D::AToWgs, M::ThreeParameter, "N E name\n" + kGridA + "\n", "", "Invalid numeric input."},
        RunCase{"BadSecondNumberOfLastRecord", D::AToB, M::ThreeParameter, kGridA + " a\n5 x\n", kGridA + "  a\r\n",
                "Invalid numeric input.", testing::IdenticalSystemsSettings()},
        RunCase{"NumberBeyondDouble", D::WgsToA, M::ThreeParameter, kWgs + " a\n1e400 13 b\n", kGridA + " a\r\n",
                "Floating point overflow."},
        RunCase{"LatitudeBeyondSouthPole", D::WgsToA, M::ThreeParameter, "-90.5 15 a\n", "", "Latitude out of range."},
        RunCase{"LatitudeBeyondNorthPoleLater", D::WgsToB, M::SevenParameter, kWgs + " a\n91 15 b\n",
                "5009854.659 388748.192 a\r\n", "Latitude out of range."},
        RunCase{"InversionBeyondPole", D::AToWgs, M::ThreeParameter, "1e10 500000\n", "", "Inversion did not converge."},
        RunCase{"ByteOrderMarkAtStartSkipped", D::WgsToA, M::ThreeParameter, "\xEF\xBB\xBF" + kWgs + " a\n",
                kGridA + " a\r\n", ""},
        RunCase{"ByteOrderMarkLaterIsData", D::WgsToA, M::ThreeParameter, kWgs + " a\n\xEF\xBB\xBF" + kWgs + "\n",
                kGridA + " a\r\n", "Invalid numeric input."}),
    [](const auto& info) { return std::string(info.param.name); });

// The two numbers of an output line.
std::pair<double, double> NumbersOf(const std::string& line) {
  const std::size_t blank = line.find(' ');
  return {std::stod(line.substr(0, blank)), std::stod(line.substr(blank + 1))};
}

// Between different systems the grid results carry the inversion's residual,
// so they meet the forward example to within a millimetre.
TEST(Runs, GridToGridMeetsTheForwardExample) {
  const auto [north_b, east_b] = NumbersOf(RunOn(kGridA + " x\n", D::AToB).output);
  EXPECT_NEAR(north_b, 5009927.168, 1.5e-3);
  EXPECT_NEAR(east_b, 388948.141, 1.5e-3);
  const auto [north_a, east_a] = NumbersOf(RunOn(kGridB3 + " x\n", D::BToA).output);
  EXPECT_NEAR(north_a, 5010498.551, 1.5e-3);
  EXPECT_NEAR(east_a, 388863.697, 1.5e-3);
  const auto [latitude, longitude] = NumbersOf(RunOn(kGridB3 + "\n", D::BToWgs).output);
  EXPECT_NEAR(latitude, 45.22568, 2e-8);
  EXPECT_NEAR(longitude, 13.58477, 2e-8);
}

TEST(Runs, LineAfterTheLastRecordAddsAZeroPoint) {
  const std::string zero_point = RunOn("0 0\n", D::WgsToA).output;
  ASSERT_EQ(zero_point.substr(zero_point.size() - 2), "\r\n");
  EXPECT_EQ(RunOn(kWgs + " a\n\n", D::WgsToA).output, kGridA + " a\r\n" + zero_point);
  EXPECT_EQ(RunOn(kWgs + " a\n \t \n", D::WgsToA).output, kGridA + " a\r\n" + zero_point);
  EXPECT_EQ(RunOn(kWgs + " a\n", D::WgsToA).output, kGridA + " a\r\n");
}

TEST(Runs, EveryWayOfWritingANumberReadsTheSame) {
  const std::string plain = RunOn("-45.22568 -0.0 a\n0 -13.58477 b\n", D::WgsToA).output;
  EXPECT_EQ(RunOn("-4522568e-5 -0.E3 a\n+0. -.1358477e2 b\n", D::WgsToA).output, plain);
  EXPECT_EQ(RunOn("-045.225680 -000 a\n0.0 -13.584770000000000000000000000000000000000000000000000000001 b\n",
                  D::WgsToA).output,
            plain);
}

TEST(Runs, SixtyFifthCharacterOfANumberStartsTheNextOne) {
  EXPECT_EQ(RunOn(std::string(57, '0') + "45.22568 13.58477 x\n", D::WgsToA).output,
            RunOn("45.2256 8 13.58477 x\n", D::WgsToA).output);
}

TEST(Runs, LfAndCrLfInputGiveTheSameOutput) {
  const std::string lines = kGridA + " one\n" + kGridA + "\ttwo\n\n" + kGridA + "\n";
  std::string crlf;
  for (char c : lines) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  EXPECT_EQ(RunOn(lines, D::AToB).output, RunOn(crlf, D::AToB).output);
}

TEST(Runs, ReadParameterTextsWithTheGivenSeparator) {
  TSettingsTexts comma = testing::WorkedExampleSettings();
  comma[7] = "0,9999";
  testing::ScratchFolder folder;
  testing::WriteBytes(folder / "in.txt", kWgs + "\n");
  const TFileConversion request{D::WgsToA, M::ThreeParameter, false, folder / "in.txt", folder / "out.txt"};
  EXPECT_TRUE(ConvertPointFile(request, ReadRecordSystems(comma, ',')).ok());
  EXPECT_EQ(testing::ReadBytes(folder / "out.txt"), kGridA + "\r\n");
}

// When each direction reads its parameter texts decides what a bad text leaves.
TEST(Runs, BadSourceParameterFailsBeforeAnyFileIsTouched) {
  TSettingsTexts settings = testing::WorkedExampleSettings();
  settings[8] = "500 000";
  testing::ScratchFolder folder;
  testing::WriteBytes(folder / "in.txt", kWgs + "\n");
  testing::WriteBytes(folder / "out.txt", "old");
  const TFileConversion request{D::AToWgs, M::ThreeParameter, true, folder / "in.txt", folder / "out.txt"};
  EXPECT_EQ(testing::BoxTextOf(ConvertPointFile(request, ReadRecordSystems(settings, '.'))),
            "'500 000' is not a valid floating point value.");
  EXPECT_EQ(testing::ReadBytes(folder / "out.txt"), "old");
  EXPECT_FALSE(testing::Exists(folder / "out.txt text.scr"));
}

TEST(Runs, GridToGridReadsTheTextsAtTheFirstRecord) {
  TSettingsTexts bad_target = testing::WorkedExampleSettings();
  bad_target[18 + 3] = "";
  const testing::RunOutcome failed = RunOn(kGridA + " a\n", D::AToB, M::ThreeParameter, true, bad_target);
  EXPECT_EQ(failed.error, "'' is not a valid floating point value.");
  EXPECT_EQ(failed.output, "");
  EXPECT_EQ(failed.scripts, (std::array<std::string, 3>{"", "", ""}));

  // The source system is read before the record: a bad record is not reached.
  TSettingsTexts bad_source = testing::WorkedExampleSettings();
  bad_source[0] = "x";
  EXPECT_EQ(RunOn("not a number\n", D::AToB, M::ThreeParameter, false, bad_source).error,
            "'x' is not a valid floating point value.");
  // A bad target text is read only after the record was read and inverted.
  EXPECT_EQ(RunOn("not a number\n", D::AToB, M::ThreeParameter, false, bad_target).error,
            "Invalid numeric input.");
  EXPECT_EQ(RunOn("", D::BToA, M::ThreeParameter, false, bad_source).error, "");
}

}  // namespace
}  // namespace tervela
