// The Transverse Mercator projection.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "engine/engine.h"
#include "engine/geodetic_constants.h"
#include "engine/tests/literal_reference.h"
#include "engine/tests/test_systems.h"

namespace tervela::test {
namespace {

TEST(TransverseMercator, WorkedExampleIntermediateValues) {
  // b = 6356752.3142 m, n = 0.00167922039, L = -0.0247004232 rad,
  // G = 5010025.0951 m, nu = 6388922.8050 m at latitude 45.22568,
  // longitude 13.58477, central meridian 15.
  const TEllipsoid& ellipsoid = SystemFrom(kZeroShiftSystem).ellipsoid;
  const double phi = 45.22568 * std::numbers::pi / 180;
  EXPECT_NEAR(ellipsoid.b(), 6356752.3142, 0.5e-4);
  EXPECT_NEAR(ellipsoid.n(), 0.00167922039, 0.5e-11);
  EXPECT_NEAR((13.58477 - 15) * std::numbers::pi / 180, -0.0247004232, 0.5e-10);
  EXPECT_NEAR(ellipsoid.MeridianArc(phi), 5010025.0951, 0.5e-4);
  EXPECT_NEAR(ellipsoid.PrimeVerticalRadius(phi), 6388922.8050, 0.5e-4);
}

TEST(TransverseMercator, CentralMeridianGivesFalseEastingExactly) {
  // Easting = FalseEasting exactly; Northing = ScaleFactor x G + FalseNorthing.
  const ParameterTexts texts = With(kWorkedSystem, kFalseNorthing, "-5000000");
  const TGridSystem system = SystemFrom(texts);
  for (double latitude : {-70.0, -12.5, 0.0, 45.0, 45.22568, 89.0}) {
    TWorkingPoint point = Geographic(latitude, 15.0);
    ASSERT_TRUE(TransverseMercator(system, point).ok());
    EXPECT_EQ(point.Easting, 500000.0);
    EXPECT_EQ(point.Northing,
              system.ellipsoid.MeridianArc(latitude * geodesy::kRadiansPerDegree) * 0.9999 - 5000000);
  }
  TWorkingPoint at45 = Geographic(45.0, 15.0);
  ASSERT_TRUE(TransverseMercator(SystemFrom(kZeroShiftSystem), at45).ok());
  EXPECT_NEAR(at45.Northing, 0.9999 * 4984944.3779, 1e-4);
}

TEST(TransverseMercator, EquatorGivesFalseNorthingExactly) {
  const TGridSystem system = SystemFrom(With(kWorkedSystem, kFalseNorthing, "-1234.5"));
  for (double longitude : {-30.0, 9.0, 13.58477, 15.0, 21.0, 60.0}) {
    TWorkingPoint point = Geographic(0.0, longitude);
    ASSERT_TRUE(TransverseMercator(system, point).ok());
    EXPECT_EQ(point.Northing, -1234.5);
  }
}

TEST(TransverseMercator, SymmetricAboutTheCentralMeridian) {
  const TGridSystem system = SystemFrom(kWorkedSystem);
  for (double latitude : {-45.0, 0.5, 40.0, 45.22568, 50.0, 75.0}) {
    for (double offset : {0.25, 1.5, 3.0, 6.0}) {
      TWorkingPoint west = Geographic(latitude, 15.0 - offset);
      TWorkingPoint east = Geographic(latitude, 15.0 + offset);
      ASSERT_TRUE(TransverseMercator(system, west).ok());
      ASSERT_TRUE(TransverseMercator(system, east).ok());
      EXPECT_EQ(west.Northing, east.Northing);
      EXPECT_NEAR(west.Easting - 500000, -(east.Easting - 500000), 1e-9);
      EXPECT_LT(west.Easting, 500000);
    }
  }
}

TEST(TransverseMercator, LongitudesWholeTurnsApartGiveOnePointExactly) {
  // The difference from the central meridian is taken to (-180, 180].
  const TGridSystem set = SystemFrom(kWorkedSystem);
  for (const double difference : {-179.5, -81.0, 0.25, 6.0, 180.0}) {
    TWorkingPoint within = Geographic(40.0, 15.0 + difference);
    ASSERT_TRUE(TransverseMercator(set, within).ok());
    for (const double turns : {-2.0, 1.0, 3.0}) {
      TWorkingPoint beyond = Geographic(40.0, 15.0 + difference + 360 * turns);
      ASSERT_TRUE(TransverseMercator(set, beyond).ok());
      EXPECT_EQ(beyond.Northing, within.Northing) << difference << " " << turns;
      EXPECT_EQ(beyond.Easting, within.Easting) << difference << " " << turns;
    }
  }
}

TEST(TransverseMercator, ScaleFactorZeroGivesFalseOrigin) {
  const TGridSystem system = SystemFrom(With(
      With(With(kWorkedSystem, kScaleFactor, "0"), kFalseNorthing, "100"), kFalseEasting, "200"));
  TWorkingPoint point = Geographic(45.22568, 13.58477);
  ASSERT_TRUE(TransverseMercator(system, point).ok());
  EXPECT_EQ(point.Northing, 100);
  EXPECT_EQ(point.Easting, 200);
}

TEST(TransverseMercator, SouthernLatitudesGiveNegativeArc) {
  // No hemisphere rule: the southern point mirrors the northern one.
  const TGridSystem system = SystemFrom(kZeroShiftSystem);
  TWorkingPoint north = Geographic(33.0, 14.0);
  TWorkingPoint south = Geographic(-33.0, 14.0);
  ASSERT_TRUE(TransverseMercator(system, north).ok());
  ASSERT_TRUE(TransverseMercator(system, south).ok());
  EXPECT_NEAR(south.Northing, -north.Northing, 1e-8);
  EXPECT_NEAR(south.Easting, north.Easting, 1e-8);
}

TEST(TransverseMercator, EllipsoidWithBLargerThanAGivesNoError) {
  // A very large Df: meaningless coordinates, but no error.
  TWorkingPoint point = Geographic(45.22568, 13.58477);
  ASSERT_TRUE(TransverseMercator(SystemFrom(With(kWorkedSystem, kDf, "40")), point).ok());
  EXPECT_TRUE(std::isfinite(point.Northing));
  EXPECT_TRUE(std::isfinite(point.Easting));
}

TEST(TransverseMercator, WritesOnlyNorthingAndEasting) {
  TWorkingPoint point = Geographic(45.22568, 13.58477);
  point.TargetEasting = 3.5;
  point.TargetNorthing = 4.5;
  ASSERT_TRUE(TransverseMercator(SystemFrom(kWorkedSystem), point).ok());
  EXPECT_EQ(point.Latitude, 45.22568);
  EXPECT_EQ(point.Longitude, 13.58477);
  EXPECT_EQ(point.TargetEasting, 3.5);
  EXPECT_EQ(point.TargetNorthing, 4.5);
}

TEST(TransverseMercator, ReadsOnlyItsSixParameters) {
  ParameterTexts other = kWorkedSystem;
  for (Field field : {kDx, kDy, kDz, kCorrN, kCorrE, kTx, kTy, kTz, kRx, kRy, kRz, kK}) {
    other[field] = "-77.5";
  }
  TWorkingPoint a = Geographic(45.22568, 13.58477);
  TWorkingPoint b = a;
  ASSERT_TRUE(TransverseMercator(SystemFrom(kWorkedSystem), a).ok());
  ASSERT_TRUE(TransverseMercator(SystemFrom(other), b).ok());
  EXPECT_EQ(a.Northing, b.Northing);
  EXPECT_EQ(a.Easting, b.Easting);
}

TEST(TransverseMercator, AgreesWithLiteralFormulasToTheLastBits) {
  for (const ParameterTexts& texts : {kZeroShiftSystem, kWorkedSystem}) {
    const TGridSystem system = SystemFrom(texts);
    for (double latitude = -80.0; latitude <= 85.0; latitude += 2.5) {
      for (double longitude = 3.0; longitude <= 27.0; longitude += 1.5) {
        TWorkingPoint engine = Geographic(latitude, longitude);
        TWorkingPoint literal = engine;
        ASSERT_TRUE(TransverseMercator(system, engine).ok());
        literal::TransverseMercator(system, literal);
        EXPECT_NEAR(engine.Northing, literal.Northing, 1e-8) << latitude << " " << longitude;
        EXPECT_NEAR(engine.Easting, literal.Easting, 1e-8) << latitude << " " << longitude;
      }
    }
  }
}

}  // namespace
}  // namespace tervela::test
