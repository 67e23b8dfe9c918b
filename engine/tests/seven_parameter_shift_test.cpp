// The seven-parameter datum shift, and its mended longitude.

#include <gtest/gtest.h>

#include <cmath>

#include "engine/engine.h"
#include "engine/tests/literal_reference.h"
#include "engine/tests/test_systems.h"

namespace tervela::test {
namespace {

TEST(SevenParameterShift, AllZeroComesBackWithin1e12Degrees) {
  const TGridSystem system = SystemFrom(kZeroShiftSystem);
  for (double latitude = -89.0; latitude <= 89.0; latitude += 4.25) {
    for (double longitude = -179.5; longitude <= 180.0; longitude += 9.5) {
      TWorkingPoint point = Geographic(latitude, longitude);
      ASSERT_TRUE(SevenParameterShift(system, point).ok());
      EXPECT_NEAR(point.Latitude, latitude, 1e-12);
      EXPECT_NEAR(point.Longitude, longitude, 1e-12) << latitude;
    }
  }
}

TEST(SevenParameterShift, Rz1ArcSecondAloneTurnsLongitudeBackOneArcSecond) {
  const TGridSystem system = SystemFrom(With(kZeroShiftSystem, kRz, "1"));
  for (double latitude : {-50.0, 0.0, 45.22568, 70.0}) {
    for (double longitude : {-100.0, 0.0, 13.58477, 150.0}) {
      TWorkingPoint point = Geographic(latitude, longitude);
      ASSERT_TRUE(SevenParameterShift(system, point).ok());
      EXPECT_NEAR(point.Latitude, latitude, 1e-12);
      EXPECT_NEAR(point.Longitude, longitude - 0.000277777777777778, 1e-12);
    }
  }
}

TEST(SevenParameterShift, Tx100AtLatitudeAndLongitudeZeroChangesNothing) {
  TWorkingPoint point = Geographic(0.0, 0.0);
  ASSERT_TRUE(SevenParameterShift(SystemFrom(With(kZeroShiftSystem, kTx, "100")), point).ok());
  EXPECT_EQ(point.Latitude, 0.0);
  EXPECT_EQ(point.Longitude, 0.0);
}

TEST(SevenParameterShift, OnePpmScalesEachGeocentricCoordinateByOneMillionth) {
  // The geocentric point grows by a millionth of itself; the engine's result
  // is the literal GeocentricToGeodetic of that scaled point.
  const TGridSystem system = SystemFrom(With(kZeroShiftSystem, kK, "1"));
  EXPECT_EQ(system.helmert.scale_difference(), 1e-6);
  for (double latitude : {-45.0, 10.0, 45.22568, 80.0}) {
    const double longitude = 13.58477;
    const literal::Geocentric wgs84 = literal::GeodeticToGeocentric(latitude, longitude);
    const literal::Geocentric scaled{wgs84.X * (1 + 1e-6), wgs84.Y * (1 + 1e-6),
                                     wgs84.Z * (1 + 1e-6)};
    double expected_latitude, expected_longitude;
    literal::GeocentricToGeodetic(system, scaled, expected_latitude, expected_longitude);
    TWorkingPoint point = Geographic(latitude, longitude);
    ASSERT_TRUE(SevenParameterShift(system, point).ok());
    EXPECT_NEAR(point.Latitude, expected_latitude, 1e-13);
    EXPECT_NEAR(point.Longitude, expected_longitude, 1e-13);
    EXPECT_NEAR(point.Longitude, longitude, 1e-12);  // a radial change keeps the meridian
  }
}

TEST(SevenParameterShift, QuadrantOfXPrimeCounts) {
  // The plain arctan(Y'/X') gives -60 for a point at 120 E; the mended
  // shift keeps it at 120 E, and likewise in the other quadrants.
  const TGridSystem system = SystemFrom(kZeroShiftSystem);
  struct Case {
    double longitude;
    double literal;  // what arctan(Y'/X') makes of it
  };
  for (const Case c : {Case{120.0, -60.0}, Case{-120.0, 60.0}, Case{179.0, -1.0}, Case{-91.0, 89.0},
                       Case{135.5, -44.5}}) {
    TWorkingPoint point = Geographic(30.0, c.longitude);
    TWorkingPoint literal = point;
    ASSERT_TRUE(SevenParameterShift(system, point).ok());
    literal::SevenParameterShift(system, literal);
    EXPECT_NEAR(point.Longitude, c.longitude, 1e-12);
    EXPECT_NEAR(literal.Longitude, c.literal, 1e-12);
    EXPECT_NEAR(point.Latitude, literal.Latitude, 1e-13);  // the latitude was always right
  }
}

TEST(SevenParameterShift, WithinNinetyDegreesResultsAreUnchanged) {
  // Where X' > 0 the mended longitude is the plain arctan(Y'/X').
  const TGridSystem system = SystemFrom(kWorkedSystem);
  for (double latitude = -85.0; latitude <= 85.0; latitude += 5.0) {
    for (double longitude = -89.0; longitude <= 89.0; longitude += 2.0) {
      TWorkingPoint engine = Geographic(latitude, longitude);
      TWorkingPoint literal = engine;
      ASSERT_TRUE(SevenParameterShift(system, engine).ok());
      literal::SevenParameterShift(system, literal);
      EXPECT_NEAR(engine.Latitude, literal.Latitude, 1e-13);
      EXPECT_NEAR(engine.Longitude, literal.Longitude, 1e-13);
    }
  }
}

TEST(SevenParameterShift, XPrimeZeroGivesPlusOrMinus90BySignOfYPrime) {
  // K = -1000000 ppm scales every point to the centre: (X', Y', Z') = T.
  const ParameterTexts centre = With(kZeroShiftSystem, kK, "-1000000");
  for (const char* tz : {"0", "3000", "-3000"}) {
    TWorkingPoint north_of_axis = Geographic(45.0, 13.0);
    ASSERT_TRUE(
        SevenParameterShift(SystemFrom(With(With(centre, kTy, "5"), kTz, tz)), north_of_axis).ok());
    EXPECT_EQ(north_of_axis.Longitude, 90.0);
    TWorkingPoint south_of_axis = Geographic(45.0, 13.0);
    ASSERT_TRUE(
        SevenParameterShift(SystemFrom(With(With(centre, kTy, "-5"), kTz, tz)), south_of_axis).ok());
    EXPECT_EQ(south_of_axis.Longitude, -90.0);
  }
}

TEST(SevenParameterShift, EllipsoidWithBLargerThanAGivesNoError) {
  TWorkingPoint point = Geographic(45.22568, 13.58477);
  ASSERT_TRUE(SevenParameterShift(SystemFrom(With(kWorkedSystem, kDf, "40")), point).ok());
  EXPECT_TRUE(std::isfinite(point.Latitude));
  EXPECT_TRUE(std::isfinite(point.Longitude));
}

TEST(SevenParameterShift, WritesOnlyLatitudeAndLongitude) {
  TWorkingPoint point = Geographic(45.22568, 13.58477);
  point.Easting = 1.5;
  point.Northing = 2.5;
  point.TargetEasting = 3.5;
  point.TargetNorthing = 4.5;
  ASSERT_TRUE(SevenParameterShift(SystemFrom(kWorkedSystem), point).ok());
  EXPECT_EQ(point.Easting, 1.5);
  EXPECT_EQ(point.Northing, 2.5);
  EXPECT_EQ(point.TargetEasting, 3.5);
  EXPECT_EQ(point.TargetNorthing, 4.5);
}

TEST(SevenParameterShift, IgnoresDxDyDzAndTheCorrections) {
  ParameterTexts other = kWorkedSystem;
  for (Field field : {kDx, kDy, kDz, kCorrN, kCorrE, kScaleFactor, kFalseEasting, kFalseNorthing,
                      kCentralMeridian}) {
    other[field] = "42.5";
  }
  TWorkingPoint a = Geographic(45.22568, 13.58477);
  TWorkingPoint b = a;
  ASSERT_TRUE(SevenParameterShift(SystemFrom(kWorkedSystem), a).ok());
  ASSERT_TRUE(SevenParameterShift(SystemFrom(other), b).ok());
  EXPECT_EQ(a.Latitude, b.Latitude);
  EXPECT_EQ(a.Longitude, b.Longitude);
}

}  // namespace
}  // namespace tervela::test
