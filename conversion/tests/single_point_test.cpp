#include "conversion/single_point.h"
#include "conversion/point_converter.h"
#include "conversion/grid_point_scale.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "test_support/worked_systems.h"

namespace tervela {
namespace {

using D = TConversionDirection;
using M = TShiftMethod;

TSettingsTexts Settings(char separator = '.') {
  TSettingsTexts texts;
  for (int i = 0; i < kSystemTextCount; ++i) {
    // System A: the worked-example shifts; system B: no shift at all.
    texts[i] = testing::kWorkedSystem[i];
    texts[kSystemTextCount + i] = testing::kZeroShiftSystem[i];
  }
  for (std::string& text : texts) std::replace(text.begin(), text.end(), '.', separator);
  texts[36] = "System A";
  texts[37] = "System B";
  return texts;
}

TRecordSystems Systems(char separator = '.') { return ReadRecordSystems(Settings(separator), separator); }

TConversionPage StartPage(const char* n, const char* e) {
  TConversionPage page;
  page.InputNorth = n;
  page.InputEast = e;
  page.OutputNorth = "0";
  page.OutputEast = "0";
  return page;
}

struct ConvertCase {
  D direction;
  M method;
  const char* in_n;
  const char* in_e;
  const char* out_n;
  const char* out_e;
  const char* readout_lat;
  const char* readout_lon;
};

std::string CaseName(const ConvertCase& c) {
  static constexpr const char* kDirections[] = {"WgsToA", "WgsToB", "AToWgs", "BToWgs", "AToB", "BToA"};
  return std::string(kDirections[static_cast<int>(c.direction)]) +
         (c.method == M::ThreeParameter ? "Three" : "Seven");
}

class ConvertDataDirections : public ::testing::TestWithParam<ConvertCase> {};

TEST_P(ConvertDataDirections, WritesOutputsAndReadouts) {
  const ConvertCase& c = GetParam();
  TConversionPage page = StartPage(c.in_n, c.in_e);
  ASSERT_TRUE(ConvertData(c.direction, c.method, Systems(), '.', page).ok());
  EXPECT_EQ(page.OutputNorth, c.out_n);
  EXPECT_EQ(page.OutputEast, c.out_e);
  EXPECT_EQ(page.LatitudeReadout, c.readout_lat);
  EXPECT_EQ(page.LongitudeReadout, c.readout_lon);
  EXPECT_EQ(page.InputNorth, c.in_n);
  EXPECT_EQ(page.InputEast, c.in_e);
}

INSTANTIATE_TEST_SUITE_P(
    WorkedExamples, ConvertDataDirections,
    ::testing::Values(
        // Readouts of WGS84 to grid show the local-datum point that was projected.
        ConvertCase{D::WgsToA, M::ThreeParameter, "45.22568", "13.58477", "5009927.168",
                    "388948.141", "45.225121", "13.585688"},
        ConvertCase{D::WgsToA, M::SevenParameter, "45.22568", "13.58477", "5009854.659",
                    "388748.192", "45.224437", "13.583159"},
        ConvertCase{D::WgsToB, M::ThreeParameter, "45.22568", "13.58477", "5010498.551",
                    "388863.697", "45.225680", "13.584770"},
        // Grid to WGS84: eight decimals in the outputs, six in the readouts.
        ConvertCase{D::BToWgs, M::ThreeParameter, "5010498.551", "388863.697", "45.22568000",
                    "13.58477000", "45.225680", "13.584770"},
        ConvertCase{D::AToWgs, M::ThreeParameter, "5009927.168", "388948.141", "45.22568000",
                    "13.58477000", "45.225680", "13.584770"},
        ConvertCase{D::AToWgs, M::SevenParameter, "5009854.659", "388748.192", "45.22568000",
                    "13.58477000", "45.225680", "13.584770"}),
    [](const ::testing::TestParamInfo<ConvertCase>& info) { return CaseName(info.param); });

// Grid to grid and back, through Invert, returns the first grid point up to the
// residuals of the two inversions and the rounding to millimetres.
TEST(ConvertData, GridToGridAndBackReturnsTheFirstPoint) {
  for (M method : {M::ThreeParameter, M::SevenParameter}) {
    TConversionPage page = StartPage("5009927.168", "388948.141");
    ASSERT_TRUE(ConvertData(D::AToB, method, Systems(), '.', page).ok());
    std::swap(page.InputNorth, page.OutputNorth);
    std::swap(page.InputEast, page.OutputEast);
    ASSERT_TRUE(ConvertData(D::BToA, method, Systems(), '.', page).ok());
    EXPECT_NEAR(std::stod(page.OutputNorth), 5009927.168, 0.0015);
    EXPECT_NEAR(std::stod(page.OutputEast), 388948.141, 0.0015);
  }
}

TEST(ConvertData, ChangeReadoutsShowPreviousMinusNew) {
  TConversionPage page = StartPage("45.22568", "13.58477");
  ASSERT_TRUE(ConvertData(D::WgsToB, M::ThreeParameter, Systems(), '.', page).ok());
  EXPECT_EQ(page.NorthingChange, "-5010498.551");
  EXPECT_EQ(page.EastingChange, "-388863.697");
  // The same point again: the previous outputs were rounded to millimetres, so
  // the change rounds to zero and shows no minus sign.
  ASSERT_TRUE(ConvertData(D::WgsToB, M::ThreeParameter, Systems(), '.', page).ok());
  EXPECT_EQ(page.NorthingChange, "0.000");
  EXPECT_EQ(page.EastingChange, "0.000");
}

TEST(ConvertData, GridDirectionsKeepTheChangeReadouts) {
  TConversionPage page = StartPage("5010498.551", "388863.697");
  page.NorthingChange = "1.000";
  page.EastingChange = "2.000";
  ASSERT_TRUE(ConvertData(D::BToWgs, M::ThreeParameter, Systems(), '.', page).ok());
  EXPECT_EQ(page.NorthingChange, "1.000");
  EXPECT_EQ(page.EastingChange, "2.000");
}

TEST(ConvertData, CommaLocaleReadsAndWritesCommas) {
  TConversionPage page = StartPage("45,22568", "13,58477");
  ASSERT_TRUE(ConvertData(D::WgsToB, M::ThreeParameter, Systems(','), ',', page).ok());
  EXPECT_EQ(page.OutputNorth, "5010498,551");
  EXPECT_EQ(page.OutputEast, "388863,697");
  EXPECT_EQ(page.LatitudeReadout, "45,225680");

  TConversionPage refused = StartPage("45.5", "13,5");
  Status s = ConvertData(D::WgsToB, M::ThreeParameter, Systems(','), ',', refused);
  ASSERT_FALSE(s.ok());
  EXPECT_EQ(s.error().BoxText(), "'45.5' is not a valid floating point value.");
}

struct ErrorCase {
  const char* name;
  D direction;
  M method;
  int bad_setting;  // index into the settings texts, or -1
  const char* bad_text;
  const char* input_north;
  const char* input_east;
  const char* previous_north;
  const char* previous_east;
  const char* message;
};

class ConvertDataErrors : public ::testing::TestWithParam<ErrorCase> {};

// Every failure but one leaves the page exactly as it was.
TEST_P(ConvertDataErrors, ReportsTheFirstBadReadAndWritesNothing) {
  const ErrorCase& c = GetParam();
  TSettingsTexts settings = Settings();
  if (c.bad_setting >= 0) settings[c.bad_setting] = c.bad_text;
  TConversionPage page;
  page.InputNorth = c.input_north;
  page.InputEast = c.input_east;
  page.OutputNorth = c.previous_north;
  page.OutputEast = c.previous_east;
  page.LatitudeReadout = "old45";
  page.LongitudeReadout = "old46";
  page.NorthingChange = "old27";
  page.EastingChange = "old28";
  const TConversionPage before = page;
  Status s = ConvertData(c.direction, c.method, ReadRecordSystems(settings, '.'), '.', page);
  ASSERT_FALSE(s.ok());
  EXPECT_EQ(s.error().BoxText(), c.message);
  EXPECT_EQ(page.OutputNorth, before.OutputNorth);
  EXPECT_EQ(page.OutputEast, before.OutputEast);
  EXPECT_EQ(page.LatitudeReadout, before.LatitudeReadout);
  EXPECT_EQ(page.LongitudeReadout, before.LongitudeReadout);
  EXPECT_EQ(page.NorthingChange, before.NorthingChange);
  EXPECT_EQ(page.EastingChange, before.EastingChange);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConvertDataErrors,
    ::testing::Values(
        ErrorCase{"EmptyInputAfterReset", D::WgsToA, M::ThreeParameter, -1, "", "", "", "", "",
                  "'' is not a valid floating point value."},
        ErrorCase{"EmptyPreviousOutput", D::WgsToA, M::ThreeParameter, -1, "", "45", "13", "", "",
                  "'' is not a valid floating point value."},
        ErrorCase{"SevenParameterFieldStopsThreeParameterRun", D::WgsToA, M::ThreeParameter, 11,
                  "abc", "45", "13", "0", "0", "'abc' is not a valid floating point value."},
        ErrorCase{"SettingsReadBeforeInputs", D::AToWgs, M::ThreeParameter, 0, "1,5", "x", "y",
                  "0", "0", "'1,5' is not a valid floating point value."},
        ErrorCase{"TabRefused", D::WgsToA, M::ThreeParameter, -1, "", "\t45", "13", "0", "0",
                  "'\t45' is not a valid floating point value."},
        ErrorCase{"DegreeSignRefused", D::WgsToA, M::ThreeParameter, -1, "", "45\u00B0", "13", "0",
                  "0", "'45\u00B0' is not a valid floating point value."},
        ErrorCase{"Overflow", D::WgsToA, M::ThreeParameter, -1, "", "1e400", "13", "0", "0",
                  "Floating point overflow."},
        ErrorCase{"BadSecondSetInGridToGrid", D::AToB, M::ThreeParameter, 18 + 4, "zz",
                  "5009927.168", "388948.141", "0", "0", "'zz' is not a valid floating point value."},
        ErrorCase{"EngineFault", D::WgsToA, M::ThreeParameter, 4, "40", "45", "13", "0", "0",
                  "Invalid floating point operation."},
        ErrorCase{"LatitudeBeyondNorthPole", D::WgsToA, M::ThreeParameter, -1, "", "91", "15", "0", "0",
                  "Latitude out of range."},
        ErrorCase{"GridPointBeyondPole", D::AToWgs, M::ThreeParameter, -1, "", "1e10", "500000", "0",
                  "0", "Inversion did not converge."}),
    [](const ::testing::TestParamInfo<ErrorCase>& info) { return std::string(info.param.name); });

TEST(ConvertData, BlanksAroundNumbersAreAccepted) {
  TConversionPage page = StartPage("  45.22568 ", " 13.58477  ");
  ASSERT_TRUE(ConvertData(D::WgsToB, M::ThreeParameter, Systems(), '.', page).ok());
  EXPECT_EQ(page.OutputNorth, "5010498.551");
}

TEST(ConvertData, BadPreviousEastingLeavesOnlyTheNorthingChange) {
  TConversionPage page = StartPage("45.22568", "13.58477");
  page.OutputEast = "n/a";
  Status s = ConvertData(D::WgsToB, M::ThreeParameter, Systems(), '.', page);
  ASSERT_FALSE(s.ok());
  EXPECT_EQ(s.error().BoxText(), "'n/a' is not a valid floating point value.");
  EXPECT_EQ(page.NorthingChange, "-5010498.551");
  EXPECT_EQ(page.EastingChange, "");
  EXPECT_EQ(page.OutputNorth, "0");
  EXPECT_EQ(page.LatitudeReadout, "");
}

// The grid a run's points are drawn on: the target's once taken, else the
// source's as far as its texts read, else none.
TEST(PointConverter, GridFalseEastingIsThatOfTheGridTakenLast) {
  struct Case {
    const char* name;
    std::size_t bad_index;  // of the record, or none
    double false_easting;
  };
  constexpr std::size_t kNone = kSettingsLineCount;
  for (const Case c : {Case{"Target", kNone, 600000}, Case{"BadTarget", 18, 400000},
                       Case{"SourceBadAfterFalseEasting", 9, 400000},
                       Case{"SourceBadBeforeFalseEasting", 8, 0}}) {
    TSettingsTexts settings = Settings();
    settings[8] = "400000";
    settings[kSystemTextCount + 8] = "600000";
    if (c.bad_index != kNone) settings[c.bad_index] = "x";
    const TRecordSystems systems = ReadRecordSystems(settings, '.');
    PointConverter converter(D::AToB, M::ThreeParameter, systems);
    EXPECT_EQ(converter.GridFalseEasting(), 0) << c.name;
    TWorkingPoint point;
    EXPECT_EQ(converter.ConvertReading(5009927.168, 388948.141, point).ok(), c.bad_index == kNone);
    EXPECT_EQ(converter.GridFalseEasting(), c.false_easting) << c.name;
  }
}

}  // namespace
}  // namespace tervela

namespace tervela {
namespace {

// Gamma and k belong to the grid point: WGS84 to A and A back to WGS84 show
// the same ones, and B to A shows A's, as the target grid's.
TEST(ConvertData, GridScaleReadoutsAreThoseOfTheGridPoint) {
  TConversionPage forward = StartPage("45.22568", "13.58477");
  ASSERT_TRUE(ConvertData(D::WgsToA, M::ThreeParameter, Systems(), '.', forward).ok());
  EXPECT_EQ(forward.ScaleFactor.size(), 10u);
  TConversionPage back = StartPage(forward.OutputNorth.c_str(), forward.OutputEast.c_str());
  ASSERT_TRUE(ConvertData(D::AToWgs, M::ThreeParameter, Systems(), '.', back).ok());
  EXPECT_EQ(back.Convergence, forward.Convergence);
  EXPECT_EQ(back.ScaleFactor, forward.ScaleFactor);
  TConversionPage to_b = StartPage("45.22568", "13.58477");
  ASSERT_TRUE(ConvertData(D::WgsToB, M::ThreeParameter, Systems(), '.', to_b).ok());
  TConversionPage b_to_a = StartPage(to_b.OutputNorth.c_str(), to_b.OutputEast.c_str());
  ASSERT_TRUE(ConvertData(D::BToA, M::ThreeParameter, Systems(), '.', b_to_a).ok());
  EXPECT_EQ(b_to_a.Convergence, forward.Convergence);
  EXPECT_EQ(b_to_a.ScaleFactor, forward.ScaleFactor);
}

TEST(ConvertData, ConvergenceReadoutCarriesRoundedSeconds) {
  const std::pair<double, const char*> kCases[] = {
      {0.71937539, "0\u00B043'09.751\"  0.71937539\u00B0"},
      {-0.71937539, "-0\u00B043'09.751\"  -0.71937539\u00B0"},
      {1.9999999, "2\u00B000'00.000\"  1.99999990\u00B0"},
      {-0.0000001, "0\u00B000'00.000\"  -0.00000010\u00B0"}};
  for (const auto& [degrees, text] : kCases) EXPECT_EQ(ConvergenceReadout(degrees, '.'), text);
  EXPECT_EQ(ConvergenceReadout(0.5, ','), "0\u00B030'00,000\"  0,50000000\u00B0");
}

}  // namespace
}  // namespace tervela
