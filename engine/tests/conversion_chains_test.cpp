// The conversion chains and the grid-to-geographic inversion.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <span>
#include <vector>

#include "engine/lane_paths.h"
#include "engine/engine.h"
#include "engine/tests/literal_reference.h"
#include "engine/tests/test_systems.h"

namespace tervela::test {
namespace {

constexpr TShiftMethod kMethods[] = {TShiftMethod::ThreeParameter, TShiftMethod::SevenParameter};

const char* NameOf(TShiftMethod method) {
  return method == TShiftMethod::ThreeParameter ? "three-parameter" : "seven-parameter";
}

// The grid image of a WGS84 point.
TWorkingPoint GridOf(const TGridSystem& system, TShiftMethod method, double latitude,
                     double longitude) {
  TWorkingPoint point = Geographic(latitude, longitude);
  EXPECT_TRUE(GeographicToGrid(system, method, point).ok());
  return GridTarget(point.Northing, point.Easting);
}

double GridResidual(const TWorkingPoint& point) {
  return std::hypot(point.Northing - point.TargetNorthing, point.Easting - point.TargetEasting);
}

TEST(GeographicToGrid, IsTheShiftOfTheMethodThenTheProjection) {
  const TGridSystem system = SystemFrom(kWorkedSystem);
  for (TShiftMethod method : kMethods) {
    TWorkingPoint chain = Geographic(45.22568, 13.58477);
    ASSERT_TRUE(GeographicToGrid(system, method, chain).ok());
    TWorkingPoint steps = Geographic(45.22568, 13.58477);
    ASSERT_TRUE((method == TShiftMethod::ThreeParameter ? ThreeParameterShift(system, steps)
                                                        : SevenParameterShift(system, steps))
                    .ok());
    ASSERT_TRUE(TransverseMercator(system, steps).ok());
    // The local-datum latitude and longitude are left, bit for bit; the grid
    // values agree to the last bits (the chain hands the projection the sine
    // and cosine of the shift's latitude).
    EXPECT_EQ(chain.Latitude, steps.Latitude) << NameOf(method);
    EXPECT_EQ(chain.Longitude, steps.Longitude) << NameOf(method);
    EXPECT_NEAR(chain.Northing, steps.Northing, 1e-8) << NameOf(method);
    EXPECT_NEAR(chain.Easting, steps.Easting, 1e-8) << NameOf(method);
  }
}

TEST(GeographicToGrid, AgreesWithLiteralFormulasToTheLastBits) {
  const TGridSystem system = SystemFrom(kWorkedSystem);
  for (TShiftMethod method : kMethods) {
    for (double latitude = 36.0; latitude <= 60.0; latitude += 1.5) {
      for (double longitude = 5.0; longitude <= 25.0; longitude += 1.25) {
        TWorkingPoint engine = Geographic(latitude, longitude);
        TWorkingPoint literal = engine;
        ASSERT_TRUE(GeographicToGrid(system, method, engine).ok());
        literal::GeographicToGrid(system, method == TShiftMethod::SevenParameter, literal);
        EXPECT_NEAR(engine.Northing, literal.Northing, 1e-8);
        EXPECT_NEAR(engine.Easting, literal.Easting, 1e-8);
      }
    }
  }
}

TEST(GridToGeographic, WorkedExampleLeavesGridImageAtTheTarget) {
  // 45.2256799960 / 13.5847700007, Northing and Easting within 1e-6 m of the
  // targets, which are unchanged.
  TWorkingPoint point = GridTarget(5010498.551, 388863.697);
  ASSERT_TRUE(
      GridToGeographic(SystemFrom(kZeroShiftSystem), TShiftMethod::ThreeParameter, point).ok());
  EXPECT_NEAR(point.Latitude, 45.2256799960, 0.5e-10);
  EXPECT_NEAR(point.Longitude, 13.5847700007, 0.5e-10);
  EXPECT_NEAR(point.Northing, 5010498.551, 1e-6);
  EXPECT_NEAR(point.Easting, 388863.697, 1e-6);
  EXPECT_EQ(point.TargetNorthing, 5010498.551);
  EXPECT_EQ(point.TargetEasting, 388863.697);
  // The ten fixed steps leave far less than 0.1 mm here, so their result
  // stands to the bit; Newton's method does not run.
  EXPECT_EQ(point.Latitude, 0x1.69ce315052da1p+5);
  EXPECT_EQ(point.Longitude, 0x1.b2b66f938f5e3p+3);
}

TEST(GridToGeographic, IsTenFixedGainStepsOfTheForwardChain) {
  // The inversion written out with the public forward chain:
  // eleven runs, simultaneous updates from one residual base, and the WGS84
  // estimate put back at the end. The inversion repeats it to the last bits
  // (it carries sines and cosines from run to run).
  const TGridSystem system = SystemFrom(kWorkedSystem);
  for (TShiftMethod method : kMethods) {
    TWorkingPoint manual = GridTarget(5031234.5, 412345.25);
    manual.Latitude = 45.0;
    manual.Longitude = 13.0;
    ASSERT_TRUE(GeographicToGrid(system, method, manual).ok());
    double la = 45.0, lo = 13.0, N = manual.Northing, E = manual.Easting;
    for (int i = 0; i < 10; ++i) {
      const double dla = (manual.TargetNorthing - N) * 8.884449823e-6;
      const double dlo = (manual.TargetEasting - E) * 1.314944622e-5;
      la += dla;
      lo += dlo;
      manual.Longitude = lo;
      manual.Latitude = la;
      ASSERT_TRUE(GeographicToGrid(system, method, manual).ok());
      N = manual.Northing;
      E = manual.Easting;
    }
    manual.Latitude = la;
    manual.Longitude = lo;

    TWorkingPoint inverted = GridTarget(5031234.5, 412345.25);
    ASSERT_TRUE(GridToGeographic(system, method, inverted).ok());
    EXPECT_NEAR(inverted.Latitude, manual.Latitude, 1e-13) << NameOf(method);
    EXPECT_NEAR(inverted.Longitude, manual.Longitude, 1e-13) << NameOf(method);
    EXPECT_NEAR(inverted.Northing, manual.Northing, 1e-8) << NameOf(method);
    EXPECT_NEAR(inverted.Easting, manual.Easting, 1e-8) << NameOf(method);
  }
}

TEST(GridToGeographic, PointsNear45North13EastComeBackWithin1e9Degrees) {
  for (TShiftMethod method : kMethods) {
    for (const ParameterTexts& texts : {kZeroShiftSystem, kWorkedSystem}) {
      const TGridSystem system = SystemFrom(texts);
      for (double latitude : {44.5, 45.0, 45.22568, 45.5}) {
        for (double longitude : {12.5, 13.0, 13.58477, 13.5}) {
          TWorkingPoint point = GridOf(system, method, latitude, longitude);
          ASSERT_TRUE(GridToGeographic(system, method, point).ok());
          EXPECT_NEAR(point.Latitude, latitude, 1e-9) << NameOf(method);
          EXPECT_NEAR(point.Longitude, longitude, 1e-9) << NameOf(method);
        }
      }
    }
  }
}

TEST(GridToGeographic, GridResidualBelowOneMillimetreFrom40To50NorthAnd9To21East) {
  for (TShiftMethod method : kMethods) {
    for (const ParameterTexts& texts : {kZeroShiftSystem, kWorkedSystem}) {
      const TGridSystem system = SystemFrom(texts);
      for (double latitude = 40.0; latitude <= 50.0; latitude += 0.5) {
        for (double longitude = 9.0; longitude <= 21.0; longitude += 0.5) {
          TWorkingPoint point = GridOf(system, method, latitude, longitude);
          ASSERT_TRUE(GridToGeographic(system, method, point).ok());
          EXPECT_LT(GridResidual(point), 1e-3)
              << NameOf(method) << " at " << latitude << " N " << longitude << " E";
        }
      }
    }
  }
}

TEST(GridToGeographic, ComesBackWithin2e8DegreesFromTheEquatorTo72NorthAnd30South) {
  // Far from 45 N, 13 E the fixed steps leave centimetres to hundreds of
  // metres; Newton's method takes over. South of the equator with the false
  // northing of a southern zone.
  for (TShiftMethod method : kMethods) {
    for (const char* meridian : {"3", "9", "15", "21", "27"}) {
      for (double latitude : {-30.0, 0.0, 15.0, 30.0, 36.0, 52.0, 60.0, 65.0, 70.0, 72.0}) {
        const TGridSystem system =
            SystemFrom(With(With(kWorkedSystem, kCentralMeridian, meridian), kFalseNorthing,
                         latitude < 0 ? "10000000" : "0"));
        for (double offset : {-3.0, -1.5, 0.0, 0.7, 2.0, 3.0}) {
          const double longitude = system.projection.central_meridian() + offset;
          TWorkingPoint point = GridOf(system, method, latitude, longitude);
          ASSERT_TRUE(GridToGeographic(system, method, point).ok());
          EXPECT_NEAR(point.Latitude, latitude, 2e-8)
              << NameOf(method) << " at " << latitude << " N " << longitude << " E";
          EXPECT_NEAR(point.Longitude, longitude, 2e-8)
              << NameOf(method) << " at " << latitude << " N " << longitude << " E";
        }
      }
    }
  }
}

TEST(GridToGeographic, AgreesWithLiteralInversion) {
  const TGridSystem system = SystemFrom(kWorkedSystem);
  for (TShiftMethod method : kMethods) {
    for (double northing = 4500000; northing <= 5500000; northing += 125000) {
      for (double easting = 250000; easting <= 750000; easting += 62500) {
        TWorkingPoint engine = GridTarget(northing, easting);
        TWorkingPoint literal = engine;
        ASSERT_TRUE(GridToGeographic(system, method, engine).ok());
        literal::GridToGeographic(system, method == TShiftMethod::SevenParameter, literal);
        EXPECT_NEAR(engine.Latitude, literal.Latitude, 1e-12);
        EXPECT_NEAR(engine.Longitude, literal.Longitude, 1e-12);
        EXPECT_NEAR(engine.Northing, literal.Northing, 1e-6);
        EXPECT_NEAR(engine.Easting, literal.Easting, 1e-6);
      }
    }
  }
}

std::string MessageOf(const Status& status) { return status.ok() ? "ok" : status.error().message(); }

// Points side by side end exactly as each alone, in both chains, on every
// lane path the processor can run: across the area, where Newton's method
// takes over, where a fault ends the run, on a system that never converges,
// and in groups that do not fill the lanes.
TEST(Batches, GiveWhatEachPointGivesAlone) {
  using engine_internal::LaneChain;
  // Latitude, longitude or northing, easting: in the area, then hostile
  // (beyond a pole, given or found).
  const double kInputs[][2] = {{5010498.551, 388863.697}, {4500000, 750000}, {7800000, 480000},
                               {100000, 330000},          {1e300, 5e5},      {5e6, -1e308},
                               {90, 0},                   {-89.9, 200},      {91, 15},
                               {-90.5, 15},               {1e15, 5500000},   {1e10, 500000},
                               {89.9999999, 15},          {40, 279}};
  std::vector<engine_internal::LanePath> paths = {engine_internal::LanePath::Plain};
  if (engine_internal::WidestLanePath() != paths[0]) {
    paths.push_back(engine_internal::WidestLanePath());
  }
  for (const TGridSystem& system : {SystemFrom(kWorkedSystem), SystemFrom(kAllZeroSystem)}) {
    for (TShiftMethod method : kMethods) {
      for (LaneChain chain : {LaneChain::Forward, LaneChain::Inverse}) {
        const auto input = [chain](double first, double second) {
          return chain == LaneChain::Forward ? Geographic(first, second)
                                             : GridTarget(first, second);
        };
        std::vector<TWorkingPoint> points;
        for (double latitude = 40; latitude <= 50; latitude += 0.5) {
          for (double longitude = 9; longitude <= 21; longitude += 0.5) {
            points.push_back(chain == LaneChain::Forward
                                 ? Geographic(latitude, longitude)
                                 : GridOf(SystemFrom(kWorkedSystem), method, latitude, longitude));
          }
        }
        for (std::size_t count = 1; count <= 9; ++count) {
          for (std::size_t i = 0; i < count; ++i) {
            const auto& numbers = kInputs[(count + i) % std::size(kInputs)];
            points.push_back(input(numbers[0], numbers[1]));
          }
        }
        for (engine_internal::LanePath path : paths) {
          std::vector<TWorkingPoint> batch = points;
          std::vector<Status> statuses(points.size());
          // Calls of one to nine points: they fill the lanes, leave some
          // empty and run over into a second group.
          for (std::size_t first = 0, size = 1; first < batch.size();
               first += size, size = size % 9 + 1) {
            const std::size_t count = std::min(size, batch.size() - first);
            engine_internal::RunInGroups(path, chain, system, method,
                                         std::span(batch).subspan(first, count),
                                         std::span(statuses).subspan(first, count));
          }
          for (std::size_t i = 0; i < points.size(); ++i) {
            TWorkingPoint alone = points[i];
            const Status alone_status = chain == LaneChain::Forward
                                            ? GeographicToGrid(system, method, alone)
                                            : GridToGeographic(system, method, alone);
            EXPECT_EQ(std::memcmp(&batch[i], &alone, sizeof alone), 0)
                << NameOf(method) << (chain == LaneChain::Forward ? " forward" : " inverse")
                << " lane path " << static_cast<int>(path) << " point " << i;
            EXPECT_EQ(MessageOf(statuses[i]), MessageOf(alone_status));
          }
        }
      }
    }
  }
}

TEST(GeographicToGrid, ThreeParameterChainRefusesPointsItWouldTurnAboutTheAxis) {
  // Near a pole Molodensky's delta lambda turns a point about the axis
  // instead of moving it by the shift; beyond a degree the chain refuses it.
  const TGridSystem set = SystemFrom(kWorkedSystem);
  for (const double latitude : {89.9999999, -90.0, 89.99}) {
    TWorkingPoint point = Geographic(latitude, 13.58477);
    EXPECT_EQ(MessageOf(GeographicToGrid(set, TShiftMethod::ThreeParameter, point)),
              "Too near a pole for the three-parameter shift") << latitude;
    point = Geographic(latitude, 13.58477);
    ASSERT_TRUE(GeographicToGrid(set, TShiftMethod::SevenParameter, point).ok());
    // Its grid values name no point the three-parameter chain takes.
    point = GridTarget(point.Northing, point.Easting);
    EXPECT_EQ(MessageOf(GridToGeographic(set, TShiftMethod::ThreeParameter, point)),
              "Inversion did not converge");
  }
  TWorkingPoint farther = Geographic(89.5, 13.58477);
  EXPECT_TRUE(GeographicToGrid(set, TShiftMethod::ThreeParameter, farther).ok());
}

TEST(GridToGeographic, SystemsWithOneGridImageForEveryPointDoNotConverge) {
  // All zero and a scale factor of 0 put every point at the false origin;
  // K = -1000000 ppm takes every point to (Tx, Ty, Tz) before the projection.
  const struct {
    ParameterTexts texts;
    TShiftMethod method;
  } kCases[] = {{kAllZeroSystem, TShiftMethod::ThreeParameter},
                {With(kWorkedSystem, kScaleFactor, "0"), TShiftMethod::ThreeParameter},
                {With(kWorkedSystem, kK, "-1000000"), TShiftMethod::SevenParameter}};
  for (const auto& [texts, method] : kCases) {
    TWorkingPoint point = GridTarget(5010498.551, 388863.697);
    const Status status = GridToGeographic(SystemFrom(texts), method, point);
    ASSERT_FALSE(status.ok()) << NameOf(method);
    EXPECT_EQ(status.error().BoxText(), "Inversion did not converge.");
  }
}

// The directions A to B and B to A, built from the two chains.
TWorkingPoint GridToGrid(const TGridSystem& from, const TGridSystem& to, TShiftMethod method,
                         double northing, double easting) {
  TWorkingPoint point = GridTarget(northing, easting);
  EXPECT_TRUE(GridToGeographic(from, method, point).ok());
  EXPECT_TRUE(GeographicToGrid(to, method, point).ok());
  return point;
}

TEST(Directions, AToBThenBToAReturnsTheFirstGridPoint) {
  const TGridSystem a = SystemFrom(kZeroShiftSystem);
  const TGridSystem b =
      SystemFrom(With(With(kWorkedSystem, kCentralMeridian, "16.5"), kFalseNorthing, "-5000000"));
  for (TShiftMethod method : kMethods) {
    for (double latitude : {42.0, 45.22568, 48.0}) {
      for (double longitude : {11.0, 13.58477, 17.0}) {
        const TWorkingPoint start = GridOf(a, method, latitude, longitude);
        const TWorkingPoint in_b =
            GridToGrid(a, b, method, start.TargetNorthing, start.TargetEasting);
        const TWorkingPoint back = GridToGrid(b, a, method, in_b.Northing, in_b.Easting);
        EXPECT_NEAR(back.Northing, start.TargetNorthing, 2e-3) << NameOf(method);
        EXPECT_NEAR(back.Easting, start.TargetEasting, 2e-3) << NameOf(method);
      }
    }
  }
}

TEST(Directions, AToBWithEqualSystemsReturnsTheInputPoint) {
  const TGridSystem a = SystemFrom(kWorkedSystem);
  for (TShiftMethod method : kMethods) {
    const TWorkingPoint point = GridToGrid(a, a, method, 5012567, 455817);
    EXPECT_NEAR(point.Northing, 5012567, 1e-3);
    EXPECT_NEAR(point.Easting, 455817, 1e-3);
  }
}

}  // namespace
}  // namespace tervela::test
