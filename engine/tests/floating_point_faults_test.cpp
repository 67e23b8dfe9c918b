// Floating-point faults: where each formula raises them, the message of the
// first one, and the state of the working point they leave. Nothing that
// faulted leaves a NaN or an infinity behind.

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <limits>

#include "engine/engine.h"
#include "engine/floating_point_check.h"
#include "engine/tests/test_systems.h"

namespace tervela::test {
namespace {

constexpr const char* kInvalid = "Invalid floating point operation";
constexpr const char* kDivisionByZero = "Floating point division by zero";
constexpr const char* kOverflow = "Floating point overflow";

// A point whose every field is system, so that untouched fields show.
TWorkingPoint Marked(double latitude, double longitude) {
  TWorkingPoint point = Geographic(latitude, longitude);
  point.Northing = -1.25;
  point.Easting = -2.5;
  point.TargetNorthing = 5010498.551;
  point.TargetEasting = 388863.697;
  return point;
}

std::string MessageOf(const Status& status) {
  return status.ok() ? std::string("no error") : status.error().message();
}

void ExpectAllFinite(const TWorkingPoint& p) {
  EXPECT_TRUE(std::isfinite(p.Latitude) && std::isfinite(p.Longitude) &&
              std::isfinite(p.Northing) && std::isfinite(p.Easting));
}

// Raises the fault flags as the engine's own arithmetic would.
void RaiseByArithmetic(int flags) {
  volatile double zero = 0.0, one = 1.0, three = 3.0;
  volatile double big = std::numeric_limits<double>::max();
  volatile double tiny = std::numeric_limits<double>::min();
  volatile double sink;
  if (flags & FE_UNDERFLOW) sink = tiny * tiny;
  if (flags & FE_INEXACT) sink = one / three;
  if (flags & FE_OVERFLOW) sink = big * 2;
  if (flags & FE_DIVBYZERO) sink = one / zero;
  if (flags & FE_INVALID) sink = zero / zero;
  (void)sink;
}

// --- Three-parameter shift: Df above 33.5281066474 -------------------------------------

TEST(ThreeParameterShiftFault, DfAboveLimitIsInvalidWithCorrectedValuesStored) {
  const TGridSystem system =
      SystemFrom(With(With(With(kWorkedSystem, kDf, "40"), kCorrN, "3.6"), kCorrE, "-7.2"));
  TWorkingPoint point = Marked(45.22568, 13.58477);
  EXPECT_EQ(MessageOf(ThreeParameterShift(system, point)), kInvalid);
  EXPECT_EQ(point.Latitude, 3.6 / 3600 + 45.22568);
  EXPECT_EQ(point.Longitude, -7.2 / 3600 + 13.58477);
  EXPECT_EQ(point.Northing, -1.25);
  EXPECT_EQ(point.Easting, -2.5);
}

TEST(ThreeParameterShiftFault, LimitIs33Point5281066474) {
  TWorkingPoint above = Marked(45.22568, 13.58477);
  EXPECT_EQ(
      MessageOf(ThreeParameterShift(SystemFrom(With(kWorkedSystem, kDf, "33.5281066475")), above)),
      kInvalid);
  TWorkingPoint below = Marked(45.22568, 13.58477);
  EXPECT_TRUE(ThreeParameterShift(SystemFrom(With(kWorkedSystem, kDf, "33.52810664")), below).ok());
  ExpectAllFinite(below);
}

TEST(GeographicToGridFault, ThreeParameterDfAboveLimitStopsBeforeTheProjection) {
  const TGridSystem system = SystemFrom(With(With(kWorkedSystem, kDf, "40"), kCorrN, "1.8"));
  TWorkingPoint point = Marked(45.22568, 13.58477);
  EXPECT_EQ(MessageOf(GeographicToGrid(system, TShiftMethod::ThreeParameter, point)), kInvalid);
  EXPECT_EQ(point.Latitude, 1.8 / 3600 + 45.22568);
  EXPECT_EQ(point.Longitude, 13.58477);
  EXPECT_EQ(point.Northing, -1.25);
  EXPECT_EQ(point.Easting, -2.5);
}

TEST(GridToGeographicFault, ThreeParameterDfAboveLimitStopsInTheFirstRun) {
  // The first run starts at 45 N, 13 E; its corrections by corr.N and corr.E
  // have been written.
  const TGridSystem system =
      SystemFrom(With(With(With(kWorkedSystem, kDf, "40"), kCorrN, "3.6"), kCorrE, "7.2"));
  TWorkingPoint point = Marked(1.0, 2.0);
  EXPECT_EQ(MessageOf(GridToGeographic(system, TShiftMethod::ThreeParameter, point)), kInvalid);
  EXPECT_EQ(point.Latitude, 3.6 / 3600 + 45.0);
  EXPECT_EQ(point.Longitude, 7.2 / 3600 + 13.0);
  EXPECT_EQ(point.Northing, -1.25);
  EXPECT_EQ(point.Easting, -2.5);
  EXPECT_EQ(point.TargetNorthing, 5010498.551);
}

TEST(SevenParameterShiftFault, DfAboveLimitIsNoFaultForTheSevenParameterMethod) {
  TWorkingPoint point = Marked(45.22568, 13.58477);
  EXPECT_TRUE(
      GeographicToGrid(SystemFrom(With(kWorkedSystem, kDf, "40")), TShiftMethod::SevenParameter, point)
          .ok());
  ExpectAllFinite(point);
}

// --- Seven-parameter shift: a point on the polar axis ----------------------------------

// K = -1000000 ppm takes every point to the centre, so (X', Y', Z') = T.
const ParameterTexts kOnThePolarAxis =
    With(With(With(kWorkedSystem, kK, "-1000000"), kTx, "0"), kTy, "0");

TEST(SevenParameterShiftFault, PolarAxisIsDivisionByZeroWithWgs84ValuesKept) {
  // tan(theta) = Z' a / (p b) with p = 0 divides by zero; the infinity would
  // go on to raise an invalid operation, but the first fault decides.
  for (const char* tz : {"80", "-6356000"}) {
    TWorkingPoint point = Marked(45.22568, 13.58477);
    EXPECT_EQ(MessageOf(SevenParameterShift(SystemFrom(With(kOnThePolarAxis, kTz, tz)), point)),
              kDivisionByZero);
    EXPECT_EQ(point.Latitude, 45.22568);
    EXPECT_EQ(point.Longitude, 13.58477);
    EXPECT_EQ(point.Northing, -1.25);
    EXPECT_EQ(point.Easting, -2.5);
  }
}

TEST(SevenParameterShiftFault, PolarAxisInBothChains) {
  const TGridSystem system = SystemFrom(With(kOnThePolarAxis, kTz, "80"));
  TWorkingPoint forward = Marked(45.22568, 13.58477);
  EXPECT_EQ(MessageOf(GeographicToGrid(system, TShiftMethod::SevenParameter, forward)),
            kDivisionByZero);
  EXPECT_EQ(forward.Latitude, 45.22568);
  EXPECT_EQ(forward.Northing, -1.25);
  TWorkingPoint inverse = Marked(1.0, 2.0);
  EXPECT_EQ(MessageOf(GridToGeographic(system, TShiftMethod::SevenParameter, inverse)),
            kDivisionByZero);
  EXPECT_EQ(inverse.Latitude, 45.0);  // the start point of the first run
  EXPECT_EQ(inverse.Longitude, 13.0);
  EXPECT_EQ(inverse.Northing, -1.25);
}

TEST(SevenParameterShiftFault, CentreOfTheEarthIsInvalid) {
  // X' = Y' = Z' = 0: zero divided by zero.
  TWorkingPoint point = Marked(45.22568, 13.58477);
  EXPECT_EQ(MessageOf(SevenParameterShift(SystemFrom(With(kOnThePolarAxis, kTz, "0")), point)),
            kInvalid);
  EXPECT_EQ(point.Latitude, 45.22568);
  EXPECT_EQ(point.Longitude, 13.58477);
}

// --- Overflow -------------------------------------------------------------

TEST(OverflowFault, ProjectionScaleOverflowKeepsNorthingAndEasting) {
  const TGridSystem system = SystemFrom(With(kWorkedSystem, kScaleFactor, "1e305"));
  TWorkingPoint point = Marked(45.22568, 13.58477);
  EXPECT_EQ(MessageOf(TransverseMercator(system, point)), kOverflow);
  EXPECT_EQ(point.Northing, -1.25);
  EXPECT_EQ(point.Easting, -2.5);
  EXPECT_EQ(point.Latitude, 45.22568);
}

TEST(OverflowFault, ChainOverflowLeavesTheShiftedPoint) {
  const TGridSystem system = SystemFrom(With(kWorkedSystem, kScaleFactor, "1e305"));
  TWorkingPoint point = Marked(45.22568, 13.58477);
  EXPECT_EQ(MessageOf(GeographicToGrid(system, TShiftMethod::ThreeParameter, point)), kOverflow);
  EXPECT_NEAR(point.Latitude, 45.2251205946, 0.5e-10);  // the shift ran
  EXPECT_NEAR(point.Longitude, 13.5856879915, 0.5e-10);
  EXPECT_EQ(point.Northing, -1.25);
  EXPECT_EQ(point.Easting, -2.5);
}

TEST(OverflowFault, InversionOverflowStopsTheFirstRun) {
  const TGridSystem system = SystemFrom(With(kZeroShiftSystem, kScaleFactor, "1e305"));
  for (TShiftMethod method : {TShiftMethod::ThreeParameter, TShiftMethod::SevenParameter}) {
    TWorkingPoint point = Marked(1.0, 2.0);
    EXPECT_EQ(MessageOf(GridToGeographic(system, method, point)), kOverflow);
    EXPECT_NEAR(point.Latitude, 45.0, 1e-12);
    EXPECT_NEAR(point.Longitude, 13.0, 1e-12);
    EXPECT_EQ(point.Northing, -1.25);
    EXPECT_EQ(point.Easting, -2.5);
  }
}

TEST(OverflowFault, InversionUpdateOverflowKeepsTheLastImage) {
  // The residual of the first correction, target minus image, overflows;
  // the point keeps the image of the start point.
  const TGridSystem system = SystemFrom(With(kZeroShiftSystem, kFalseNorthing, "1e308"));
  TWorkingPoint point = Marked(1.0, 2.0);
  point.TargetNorthing = -1e308;
  TWorkingPoint start = Geographic(45.0, 13.0);
  ASSERT_TRUE(GeographicToGrid(system, TShiftMethod::ThreeParameter, start).ok());
  EXPECT_EQ(MessageOf(GridToGeographic(system, TShiftMethod::ThreeParameter, point)), kOverflow);
  EXPECT_EQ(point.Latitude, 45.0);
  EXPECT_EQ(point.Longitude, 13.0);
  EXPECT_EQ(point.Northing, start.Northing);
  EXPECT_EQ(point.Easting, start.Easting);
}

TEST(OverflowFault, SevenParameterGeocentricOverflowKeepsWgs84Values) {
  // p = sqrt(X'^2 + Y'^2) overflows with a translation of 1e200 m.
  TWorkingPoint point = Marked(45.22568, 13.58477);
  EXPECT_EQ(MessageOf(SevenParameterShift(SystemFrom(With(kWorkedSystem, kTx, "1e200")), point)),
            kOverflow);
  EXPECT_EQ(point.Latitude, 45.22568);
  EXPECT_EQ(point.Longitude, 13.58477);
}

TEST(OverflowFault, ThreeParameterCorrectionOverflowWritesNothing) {
  TWorkingPoint point = Marked(std::numeric_limits<double>::max(), 13.58477);
  EXPECT_EQ(MessageOf(ThreeParameterShift(SystemFrom(With(kWorkedSystem, kCorrN, "1e308")), point)),
            kOverflow);
  EXPECT_EQ(point.Latitude, std::numeric_limits<double>::max());
  EXPECT_EQ(point.Longitude, 13.58477);
}

// --- A zero semi-major axis ------------------------------------------------

TEST(InvalidFault, ZeroSemiMajorAxisIsInvalidForEveryOperation) {
  // Da = 6378137 makes a = 0 and b = 0: 0 / 0 in each ellipsoid.
  const TGridSystem system = SystemFrom(With(kWorkedSystem, kDa, "6378137"));
  TWorkingPoint point = Marked(45.22568, 13.58477);
  EXPECT_EQ(MessageOf(ThreeParameterShift(system, point)), kInvalid);
  point = Marked(45.22568, 13.58477);
  EXPECT_EQ(MessageOf(SevenParameterShift(system, point)), kInvalid);
  EXPECT_EQ(point.Latitude, 45.22568);
  point = Marked(45.22568, 13.58477);
  EXPECT_EQ(MessageOf(TransverseMercator(system, point)), kInvalid);
  EXPECT_EQ(point.Northing, -1.25);
}

// --- Inputs that are not finite, stale flags, and the fault order ----------

TEST(FaultCheck, NotANumberInputIsReportedNotPassedOn) {
  const TGridSystem system = SystemFrom(kWorkedSystem);
  for (TShiftMethod method : {TShiftMethod::ThreeParameter, TShiftMethod::SevenParameter}) {
    TWorkingPoint point = Marked(std::numeric_limits<double>::quiet_NaN(), 13.58477);
    EXPECT_EQ(MessageOf(GeographicToGrid(system, method, point)), kInvalid);
    EXPECT_EQ(point.Northing, -1.25);
    EXPECT_EQ(point.Easting, -2.5);
  }
  TWorkingPoint point = Marked(45.0, 13.0);
  point.TargetEasting = std::numeric_limits<double>::infinity();
  EXPECT_EQ(MessageOf(GridToGeographic(system, TShiftMethod::ThreeParameter, point)), kInvalid);
  ExpectAllFinite(point);
}

TEST(FaultCheck, FlagsRaisedBeforeTheCallDoNotCount) {
  const TGridSystem system = SystemFrom(kWorkedSystem);
  RaiseByArithmetic(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW);
  TWorkingPoint point = Geographic(45.22568, 13.58477);
  EXPECT_TRUE(GeographicToGrid(system, TShiftMethod::ThreeParameter, point).ok());
  EXPECT_NEAR(point.Northing, 5009927.168, 0.5e-3);
  RaiseByArithmetic(FE_DIVBYZERO);
  point = GridTarget(5010498.551, 388863.697);
  EXPECT_TRUE(GridToGeographic(system, TShiftMethod::SevenParameter, point).ok());
}

TEST(FaultCheck, AFaultDoesNotOutliveItsCall) {
  TWorkingPoint point = Marked(45.22568, 13.58477);
  EXPECT_FALSE(ThreeParameterShift(SystemFrom(With(kWorkedSystem, kDf, "40")), point).ok());
  point = Geographic(45.22568, 13.58477);
  EXPECT_TRUE(ThreeParameterShift(SystemFrom(kWorkedSystem), point).ok());
}

TEST(FaultCheck, FirstFaultDecidesAcrossSteps) {
  // On the polar axis the shift divides by zero; run on, it would give
  // latitude 90, which the projection with a scale of 1e305 would overflow.
  // The division by zero came first.
  const TGridSystem system = SystemFrom(With(With(kOnThePolarAxis, kTz, "80"), kScaleFactor, "1e305"));
  TWorkingPoint point = Marked(45.22568, 13.58477);
  EXPECT_EQ(MessageOf(GeographicToGrid(system, TShiftMethod::SevenParameter, point)), kDivisionByZero);
  EXPECT_EQ(point.Latitude, 45.22568);
  EXPECT_EQ(point.Longitude, 13.58477);
  EXPECT_EQ(point.Northing, -1.25);
  EXPECT_EQ(point.Easting, -2.5);
}

TEST(FaultCheck, WithinOneStepOverflowComesBeforeDivisionByZeroBeforeInvalid) {
  // Infinities and zeros made by an overflow can cause the other two later in
  // a step, and a division by zero can cause an invalid operation; a NaN
  // causes neither.
  fp::DiscardStaleFaults();
  RaiseByArithmetic(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW);
  EXPECT_EQ(fp::TakeFault(1.0), fp::Fault::Overflow);
  RaiseByArithmetic(FE_INVALID | FE_DIVBYZERO);
  EXPECT_EQ(fp::TakeFault(1.0), fp::Fault::DivisionByZero);
  RaiseByArithmetic(FE_INVALID);
  EXPECT_EQ(fp::TakeFault(1.0), fp::Fault::InvalidOperation);
  EXPECT_EQ(fp::TakeFault(1.0), fp::Fault::NoFault);  // each check clears what it saw
  EXPECT_EQ(fp::TakeFault(std::numeric_limits<double>::infinity()), fp::Fault::InvalidOperation);
}

TEST(FaultCheck, UnderflowAndInexactPassSilently) {
  fp::DiscardStaleFaults();
  RaiseByArithmetic(FE_UNDERFLOW | FE_INEXACT);
  ASSERT_NE(std::fetestexcept(FE_UNDERFLOW | FE_INEXACT), 0);
  EXPECT_EQ(fp::TakeFault(0.0), fp::Fault::NoFault);
  TWorkingPoint point = Geographic(45.22568, 13.58477);
  EXPECT_TRUE(GeographicToGrid(SystemFrom(kWorkedSystem), TShiftMethod::SevenParameter, point).ok());
}

}  // namespace
}  // namespace tervela::test
