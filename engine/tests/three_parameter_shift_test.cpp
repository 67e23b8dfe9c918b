// The three-parameter datum shift.

#include <gtest/gtest.h>

#include <cmath>

#include "engine/engine.h"
#include "engine/tests/literal_reference.h"
#include "engine/tests/test_systems.h"

namespace tervela::test {
namespace {

TEST(ThreeParameterShift, WorkedExampleDifferencesInArcSeconds) {
  // Delta phi and delta lambda of about +2.014 and -3.305 arc-seconds,
  // subtracted.
  TWorkingPoint point = Geographic(45.22568, 13.58477);
  ASSERT_TRUE(ThreeParameterShift(SystemFrom(kWorkedSystem), point).ok());
  EXPECT_NEAR(ArcSeconds(45.22568 - point.Latitude), 2.014, 0.5e-3);
  EXPECT_NEAR(ArcSeconds(13.58477 - point.Longitude), -3.305, 0.5e-3);
}

TEST(ThreeParameterShift, AllSevenValuesZeroLeaveEveryPointExactly) {
  const TGridSystem system = SystemFrom(kZeroShiftSystem);
  for (double latitude = -89.5; latitude <= 89.5; latitude += 7.25) {
    for (double longitude = -179.0; longitude <= 180.0; longitude += 11.5) {
      TWorkingPoint point = Geographic(latitude, longitude);
      ASSERT_TRUE(ThreeParameterShift(system, point).ok());
      EXPECT_EQ(point.Latitude, latitude);
      EXPECT_EQ(point.Longitude, longitude);
    }
  }
}

TEST(ThreeParameterShift, CorrN3Point6AloneAddsOneThousandthDegree) {
  const TGridSystem system = SystemFrom(With(kZeroShiftSystem, kCorrN, "3.6"));
  for (double latitude : {-60.0, 0.0, 45.22568, 80.0}) {
    TWorkingPoint point = Geographic(latitude, 13.58477);
    ASSERT_TRUE(ThreeParameterShift(system, point).ok());
    EXPECT_EQ(point.Latitude, 3.6 / 3600 + latitude);
    EXPECT_NEAR(point.Latitude - latitude, 0.001, 1e-12);
    EXPECT_EQ(point.Longitude, 13.58477);
  }
}

TEST(ThreeParameterShift, NoDxDyCorrEKeepsLongitudeExactly) {
  // Whatever Dz, Da and Df are, only the latitude moves.
  ParameterTexts texts = kWorkedSystem;
  texts[kDx] = "0";
  texts[kDy] = "0";
  texts[kCorrE] = "0";
  texts[kCorrN] = "1.5";
  texts[kDz] = "-312.25";
  const TGridSystem system = SystemFrom(texts);
  for (double longitude : {-170.0, -13.58477, 0.0, 13.58477, 95.5}) {
    TWorkingPoint point = Geographic(45.22568, longitude);
    ASSERT_TRUE(ThreeParameterShift(system, point).ok());
    EXPECT_EQ(point.Longitude, longitude);
    EXPECT_NE(point.Latitude, 45.22568);
  }
}

TEST(ThreeParameterShift, CorrectionsAreAddedBeforeTheShift) {
  // The shift at (lat, lon) with corr.N, corr.E equals the shift without
  // them at the corrected point.
  TWorkingPoint corrected = Geographic(45.22568, 13.58477);
  ASSERT_TRUE(ThreeParameterShift(SystemFrom(With(With(kWorkedSystem, kCorrN, "1.8"), kCorrE, "-7.2")),
                                  corrected)
                  .ok());
  TWorkingPoint moved = Geographic(1.8 / 3600 + 45.22568, -7.2 / 3600 + 13.58477);
  ASSERT_TRUE(ThreeParameterShift(SystemFrom(kWorkedSystem), moved).ok());
  EXPECT_EQ(corrected.Latitude, moved.Latitude);
  EXPECT_EQ(corrected.Longitude, moved.Longitude);
}

TEST(ThreeParameterShift, PoleGivesLargeLongitudeChangeWithoutError) {
  // cos(90 degrees) is almost zero, so delta lambda is very large.
  TWorkingPoint point = Geographic(90.0, 13.58477);
  ASSERT_TRUE(ThreeParameterShift(SystemFrom(kWorkedSystem), point).ok());
  EXPECT_TRUE(std::isfinite(point.Latitude));
  EXPECT_TRUE(std::isfinite(point.Longitude));
  EXPECT_GT(std::fabs(point.Longitude - 13.58477), 1e6);
}

TEST(ThreeParameterShift, WritesOnlyLatitudeAndLongitude) {
  TWorkingPoint point = Geographic(45.22568, 13.58477);
  point.Easting = 1.5;
  point.Northing = 2.5;
  point.TargetEasting = 3.5;
  point.TargetNorthing = 4.5;
  ASSERT_TRUE(ThreeParameterShift(SystemFrom(kWorkedSystem), point).ok());
  EXPECT_EQ(point.Easting, 1.5);
  EXPECT_EQ(point.Northing, 2.5);
  EXPECT_EQ(point.TargetEasting, 3.5);
  EXPECT_EQ(point.TargetNorthing, 4.5);
}

TEST(ThreeParameterShift, ReadsOnlyItsSevenParameters) {
  // Projection and seven-parameter values do not change the result.
  ParameterTexts other = kWorkedSystem;
  for (Field field : {kScaleFactor, kFalseEasting, kFalseNorthing, kCentralMeridian, kTx, kTy, kTz,
                      kRx, kRy, kRz, kK}) {
    other[field] = "123.25";
  }
  TWorkingPoint a = Geographic(45.22568, 13.58477);
  TWorkingPoint b = a;
  ASSERT_TRUE(ThreeParameterShift(SystemFrom(kWorkedSystem), a).ok());
  ASSERT_TRUE(ThreeParameterShift(SystemFrom(other), b).ok());
  EXPECT_EQ(a.Latitude, b.Latitude);
  EXPECT_EQ(a.Longitude, b.Longitude);
}

TEST(ThreeParameterShift, AgreesWithLiteralFormulasToTheLastBits) {
  ParameterTexts texts = With(With(kWorkedSystem, kCorrN, "0.7"), kCorrE, "-1.3");
  const TGridSystem system = SystemFrom(texts);
  for (double latitude = -85.0; latitude <= 85.0; latitude += 2.5) {
    for (double longitude = -175.0; longitude <= 180.0; longitude += 5.0) {
      TWorkingPoint engine = Geographic(latitude, longitude);
      TWorkingPoint literal = engine;
      ASSERT_TRUE(ThreeParameterShift(system, engine).ok());
      literal::ThreeParameterShift(system, literal);
      EXPECT_NEAR(engine.Latitude, literal.Latitude, 1e-13);
      EXPECT_NEAR(engine.Longitude, literal.Longitude, 1e-13);
    }
  }
}

}  // namespace
}  // namespace tervela::test
