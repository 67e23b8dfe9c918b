// Data-driven test vectors in the manner of PROJ's: operation, input,
// parameter system, expected output, tolerance. Each worked example and numeric
// statement about the engine that one operation call can show is one
// vector, checked to the digits the example gives (half a unit of the last digit).

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <ostream>
#include <string>

#include "engine/engine.h"
#include "engine/tests/test_systems.h"

namespace tervela::test {
namespace {

enum class Operation {
  ThreeParameterShift,
  SevenParameterShift,
  TransverseMercator,
  GeographicToGrid3,  // three-parameter method
  GeographicToGrid7,  // seven-parameter method
  GridToGeographic3,
  GridToGeographic7,
};

struct TestVector {
  const char* name;
  Operation operation;
  ParameterTexts parameters;
  // Latitude, Longitude for the geographic inputs; TargetNorthing,
  // TargetEasting for GridToGeographic.
  std::array<double, 2> input;
  // Latitude, Longitude after a shift or GridToGeographic; Northing, Easting
  // after the projection or GeographicToGrid.
  std::array<double, 2> expected;
  double tolerance;  // degrees or metres
};

void PrintTo(const TestVector& v, std::ostream* os) { *os << v.name; }

constexpr double kTenDecimals = 0.5e-10;  // degrees given to 10 decimals
constexpr double kMillimetres = 0.5e-3;   // metres given to 3 decimals

// clang-format off
const TestVector kVectors[] = {
    // Three-parameter shift, worked example.
    {"ThreeParameterShiftWorkedExample", Operation::ThreeParameterShift, kWorkedSystem,
     {45.22568, 13.58477}, {45.2251205946, 13.5856879915}, kTenDecimals},
    {"ThreeParameterChainWorkedExample", Operation::GeographicToGrid3, kWorkedSystem,
     {45.22568, 13.58477}, {5009927.168, 388948.141}, kMillimetres},
    // Projection, worked example: the zero shift leaves the point as it is.
    {"TransverseMercatorWorkedExample", Operation::TransverseMercator, kZeroShiftSystem,
     {45.22568, 13.58477}, {5010498.551, 388863.697}, kMillimetres},
    {"ZeroShiftChainWorkedExample", Operation::GeographicToGrid3, kZeroShiftSystem,
     {45.22568, 13.58477}, {5010498.551, 388863.697}, kMillimetres},
    // Seven-parameter shift, worked example.
    {"SevenParameterShiftWorkedExample", Operation::SevenParameterShift, kWorkedSystem,
     {45.22568, 13.58477}, {45.2244366653, 13.5831585080}, kTenDecimals},
    {"SevenParameterChainWorkedExample", Operation::GeographicToGrid7, kWorkedSystem,
     {45.22568, 13.58477}, {5009854.659, 388748.192}, kMillimetres},
    // Inversion, worked example of the inversion.
    {"InversionWorkedExample", Operation::GridToGeographic3, kZeroShiftSystem,
     {5010498.551, 388863.697}, {45.2256799960, 13.5847700007}, kTenDecimals},
    // Three-parameter shift, edge cases.
    {"ThreeParameterAllZeroIsExact", Operation::ThreeParameterShift, kZeroShiftSystem,
     {45.22568, 13.58477}, {45.22568, 13.58477}, 0.0},
    {"CorrN3Point6AddsOneThousandthDegree", Operation::ThreeParameterShift,
     With(kZeroShiftSystem, kCorrN, "3.6"), {45.22568, 13.58477}, {45.22668, 13.58477}, 1e-12},
    // Seven-parameter shift, edge cases.
    {"SevenParameterAllZeroWithin1e-12", Operation::SevenParameterShift, kZeroShiftSystem,
     {45.22568, 13.58477}, {45.22568, 13.58477}, 1e-12},
    {"Rz1ArcSecondTurnsLongitudeBack", Operation::SevenParameterShift,
     With(kZeroShiftSystem, kRz, "1"), {45.22568, 13.58477}, {45.22568, 13.58477 - 1.0 / 3600},
     1e-11},
    {"Tx100AtOriginChangesNothing", Operation::SevenParameterShift,
     With(kZeroShiftSystem, kTx, "100"), {0.0, 0.0}, {0.0, 0.0}, 0.0},
    // The mended quadrant: beyond +-90 degrees the longitude keeps its side.
    {"Quadrant120East", Operation::SevenParameterShift, kZeroShiftSystem, {30.0, 120.0},
     {30.0, 120.0}, 1e-12},
    {"Quadrant120West", Operation::SevenParameterShift, kZeroShiftSystem, {-30.0, -120.0},
     {-30.0, -120.0}, 1e-12},
    {"Quadrant179Point5East", Operation::SevenParameterShift, kZeroShiftSystem, {10.0, 179.5},
     {10.0, 179.5}, 1e-12},
    {"Quadrant90East", Operation::SevenParameterShift, kZeroShiftSystem, {60.0, 90.0},
     {60.0, 90.0}, 1e-12},
    {"Quadrant90West", Operation::SevenParameterShift, kZeroShiftSystem, {60.0, -90.0},
     {60.0, -90.0}, 1e-12},
    // X' = 0 exactly: K = -1000000 ppm scales the point to the centre, so
    // (X', Y', Z') = (Tx, Ty, Tz).
    {"XPrimeZeroYPositiveIsPlus90", Operation::SevenParameterShift,
     With(With(kZeroShiftSystem, kK, "-1000000"), kTy, "5"), {45.0, 13.0}, {0.0, 90.0}, 0.0},
    {"XPrimeZeroYNegativeIsMinus90", Operation::SevenParameterShift,
     With(With(kZeroShiftSystem, kK, "-1000000"), kTy, "-5"), {45.0, 13.0}, {0.0, -90.0}, 0.0},
    // Projection, edge cases.
    {"ScaleZeroGivesFalseOrigin", Operation::TransverseMercator,
     With(With(kZeroShiftSystem, kScaleFactor, "0"), kFalseNorthing, "-7"), {45.22568, 13.58477},
     {-7.0, 500000.0}, 0.0},
    // A set of eighteen zeros is accepted; every grid value is 0.
    {"AllZeroSetThreeParameter", Operation::GeographicToGrid3, kAllZeroSystem,
     {45.22568, 13.58477}, {0.0, 0.0}, 0.0},
    {"AllZeroSetSevenParameter", Operation::GeographicToGrid7, kAllZeroSystem,
     {45.22568, 13.58477}, {0.0, 0.0}, 0.0},
};
// clang-format on

class EngineVector : public ::testing::TestWithParam<TestVector> {};

TEST_P(EngineVector, GivesExpectedOutput) {
  const TestVector& v = GetParam();
  const TGridSystem system = SystemFrom(v.parameters);
  TWorkingPoint point;
  const bool grid_input =
      v.operation == Operation::GridToGeographic3 || v.operation == Operation::GridToGeographic7;
  if (grid_input) {
    point = GridTarget(v.input[0], v.input[1]);
  } else {
    point = Geographic(v.input[0], v.input[1]);
  }

  Status status;
  bool grid_output = false;
  switch (v.operation) {
    case Operation::ThreeParameterShift:
      status = ThreeParameterShift(system, point);
      break;
    case Operation::SevenParameterShift:
      status = SevenParameterShift(system, point);
      break;
    case Operation::TransverseMercator:
      status = TransverseMercator(system, point);
      grid_output = true;
      break;
    case Operation::GeographicToGrid3:
      status = GeographicToGrid(system, TShiftMethod::ThreeParameter, point);
      grid_output = true;
      break;
    case Operation::GeographicToGrid7:
      status = GeographicToGrid(system, TShiftMethod::SevenParameter, point);
      grid_output = true;
      break;
    case Operation::GridToGeographic3:
      status = GridToGeographic(system, TShiftMethod::ThreeParameter, point);
      break;
    case Operation::GridToGeographic7:
      status = GridToGeographic(system, TShiftMethod::SevenParameter, point);
      break;
  }
  ASSERT_TRUE(status.ok()) << status.error().message();

  const double first = grid_output ? point.Northing : point.Latitude;
  const double second = grid_output ? point.Easting : point.Longitude;
  EXPECT_NEAR(first, v.expected[0], v.tolerance);
  EXPECT_NEAR(second, v.expected[1], v.tolerance);
  EXPECT_TRUE(std::isfinite(first) && std::isfinite(second));
}

INSTANTIATE_TEST_SUITE_P(WorkedExamplesAndEdgeCases, EngineVector, ::testing::ValuesIn(kVectors),
                         [](const ::testing::TestParamInfo<TestVector>& info) {
                           std::string name = info.param.name;
                           for (char& c : name) {
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return name;
                         });

}  // namespace
}  // namespace tervela::test
