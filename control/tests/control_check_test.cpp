// Control sets planted with a known local offset, noise and one wild point,
// checked and calibrated with both datum shifts.

#include <gtest/gtest.h>

#include <cmath>

#include "control/control_run.h"

namespace tervela {
namespace {

constexpr double kNoise = 0.01;          // metres, per component, at most
constexpr std::size_t kWildPoint = 7;
constexpr double kWildOffset = 0.6;      // metres north, beyond the planted offset

// A 5 x 5 grid of points 10 km apart (a site 40 km across) in zone A of the
// example settings, their grid coordinates those of the example system moved
// by `offset`, with noise, and point kWildPoint another kWildOffset off.
std::vector<TControlPoint> PlantedSet(const TGridSystem& system, TShiftMethod method, TResidual offset) {
  std::vector<TControlPoint> points;
  for (std::size_t i = 0; i < 25; ++i) {
    const double latitude = 45.7 + 0.09 * static_cast<double>(i / 5);
    const double longitude = 15.8 + 0.128 * static_cast<double>(i % 5);
    TWorkingPoint p{.Longitude = longitude, .Latitude = latitude};
    EXPECT_TRUE(GeographicToGrid(system, method, p).ok());
    const double n = offset.north + kNoise * std::sin(1.7 * i + 0.3) + (i == kWildPoint ? kWildOffset : 0);
    const double e = offset.east + kNoise * std::cos(2.3 * i);
    points.push_back({latitude, longitude, p.Northing + n, p.Easting + e, "", i + 1});
  }
  return points;
}

struct PlantedCase {
  const char* name;
  TShiftMethod method;
  TResidual offset;
  bool swapped = false;      // northing and easting swapped
  const char* refusal = "";  // how the calibration's refusal starts, for a set no one shift fits
};

class PlantedOffset : public ::testing::TestWithParam<PlantedCase> {};

TEST_P(PlantedOffset, IsFoundFlaggedAndCalibratedAwayOrRefused) {
  const PlantedCase& c = GetParam();
  TSettingsTexts texts;
  ASSERT_TRUE(ReadSettingsRecord(TERVELA_EXAMPLES_DIR "/two-zones.set", texts).ok());
  const TRecordSystems systems = ReadRecordSystems(texts, '.');
  const TGridSystem& system = systems.a.grid.value();
  std::vector<TControlPoint> points = PlantedSet(system, c.method, c.offset);
  for (TControlPoint& point : points) {
    if (c.swapped) std::swap(point.northing, point.easting);
  }

  const Result<TControlReport> report = RunControlCheck(systems, points, {TLocalSystem::A, c.method, '.', true});
  ASSERT_TRUE(report.ok()) << report.error().message();
  const std::string& refusal = report.value().calibration_refusal;
  EXPECT_TRUE(*c.refusal == '\0' ? refusal.empty() : refusal.starts_with(c.refusal)) << refusal;
  if (*c.refusal != '\0') return;
  const TControlCheck& before = report.value().check;
  for (std::size_t i = 0; i < points.size(); ++i) {
    EXPECT_EQ(before.outliers[i], i == kWildPoint) << "point " << i;
    if (i == kWildPoint) continue;
    EXPECT_NEAR(before.residuals[i].north, c.offset.north, kNoise + 1e-6) << "point " << i;
    EXPECT_NEAR(before.residuals[i].east, c.offset.east, kNoise + 1e-6) << "point " << i;
  }

  // The calibrated fields carry the offset: corr.N and corr.E as arc-seconds
  // of latitude and longitude (about 30.9 m and 21.5 m here), Tx, Ty, Tz as a
  // translation of the offset's length that does not move the site vertically.
  TSettingsTexts calibrated = texts;
  PutCalibratedTexts(report.value(), calibrated);
  const TGridSystem fitted = ReadRecordSystems(calibrated, '.').a.grid.value();
  if (c.method == TShiftMethod::ThreeParameter) {
    EXPECT_NEAR(fitted.molodensky.corr_n() * 30.9, c.offset.north, 0.02);
    EXPECT_NEAR(fitted.molodensky.corr_e() * 21.5, c.offset.east, 0.02);
  } else {
    const double phi = 45.88 * M_PI / 180, lambda = 16.056 * M_PI / 180;
    const std::array<double, 3>& before = system.helmert.translation();
    const std::array<double, 3>& after = fitted.helmert.translation();
    const double dx = after[0] - before[0], dy = after[1] - before[1], dz = after[2] - before[2];
    EXPECT_NEAR(std::sqrt(dx * dx + dy * dy + dz * dz), std::hypot(c.offset.north, c.offset.east), 0.01);
    EXPECT_NEAR(dx * std::cos(phi) * std::cos(lambda) + dy * std::cos(phi) * std::sin(lambda) + dz * std::sin(phi),
                0, 0.01);
  }

  const TControlCheck& after = *report.value().calibrated_check;
  // The noise alone has an RMS length of kNoise.
  EXPECT_LE(after.rms, 1.2 * kNoise);
  EXPECT_EQ(after.outlier_count, 1u);
  EXPECT_TRUE(after.outliers[kWildPoint]);
}

INSTANTIATE_TEST_SUITE_P(
    ControlSets, PlantedOffset,
    ::testing::Values(PlantedCase{"ThreeParameterNorthEast", TShiftMethod::ThreeParameter, {0.35, -0.22}},
                      PlantedCase{"ThreeParameterNone", TShiftMethod::ThreeParameter, {0, 0}},
                      PlantedCase{"SevenParameterNorthEast", TShiftMethod::SevenParameter, {0.35, -0.22}},
                      PlantedCase{"SevenParameterSouthWest", TShiftMethod::SevenParameter, {-0.41, 0.18}},
                      PlantedCase{"NorthingEastingSwapped", TShiftMethod::ThreeParameter, {0, 0}, true,
                                  "no one shift fits the control points: point "},
                      PlantedCase{"ThousandsOfKilometresOff", TShiftMethod::ThreeParameter, {4e6, -4e6}, false,
                                  "it did not converge: the mean residual is still "}),
    [](const auto& info) { return std::string(info.param.name); });

struct BadFileCase {
  const char* name;
  std::string text;
  std::string error;
};

class BadControlFile : public ::testing::TestWithParam<BadFileCase> {};

TEST_P(BadControlFile, NamesTheLine) {
  const Result<std::vector<TControlPoint>> read = ParseControlPoints(GetParam().text);
  ASSERT_FALSE(read.ok());
  EXPECT_EQ(read.error().message(), GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, BadControlFile,
    ::testing::Values(
        BadFileCase{"ThreeNumbers", "# lat lon N E\n\n45 15 5000000 500000 a\r\n45 15 5000000\n",
                    "Control file line 4: four numbers expected, easting missing"},
        BadFileCase{"DecimalComma", "45 15 5000000 500000\n\t \n45,1 15 5000000 500000 b\n",
                    "Control file line 3: '45,1' is not a valid latitude"},
        BadFileCase{"CarriageReturnsEndLines", "# a\r\n45 15 5000000 500000 a\r45 15 5000000\r",
                    "Control file line 3: four numbers expected, easting missing"},
        BadFileCase{"OnlyComments", "# lat lon N E\r\n\n", "Control file holds no point"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tervela
