// Grid convergence and point scale factor.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "engine/grid_scale.h"
#include "engine/tests/test_systems.h"
#include "test_support/system.h"

namespace tervela::test {
namespace {

// System A and B of examples/two-zones.set: Bessel 1841, central meridians
// 15 and 18 east.
ParameterTexts ExampleZone(const char* false_easting, const char* central_meridian) {
  return {"682", "-203", "480", "739.845", "0.10037483", "0", "0", "0.9999", false_easting,
          "0", central_meridian, "-551.7", "-162.9", "-467.9", "6.04", "1.96", "-11.38", "4.82"};
}

struct ProjFactors {
  double convergence = NAN, scale = NAN;
};

// What `proj -V` prints for the point on the matching +proj=tmerc, on the
// projection's own ellipsoid.
ProjFactors ProjAt(const TGridSystem& system, double latitude, double longitude) {
  const TTransverseMercator& tm = system.projection;
  char command[512];
  std::snprintf(command, sizeof command,
                "echo '%.12f %.12f' | proj -V +proj=tmerc +a=%.17g +b=%.17g +lon_0=%.17g "
                "+k_0=%.17g +x_0=%.17g +y_0=%.17g 2>&1",
                longitude, latitude, system.ellipsoid.a(), system.ellipsoid.b(), tm.central_meridian(),
                tm.scale_factor(), tm.false_easting(), tm.false_northing());
  ProjFactors factors;
  FILE* pipe = popen(command, "r");
  if (pipe == nullptr) return factors;
  char line[512];
  while (std::fgets(line, sizeof line, pipe) != nullptr) {
    if (const char* k = std::strstr(line, "Parallel scale (k) :"); k == line) {
      factors.scale = std::strtod(k + std::strlen("Parallel scale (k) :"), nullptr);
    }
    if (const char* bracket = std::strchr(line, '['); bracket && std::strstr(line, "Convergence") == line) {
      factors.convergence = std::strtod(bracket + 1, nullptr);
    }
  }
  pclose(pipe);
  return factors;
}

// Within 3 degrees of the central meridian, gamma to 1e-6 degrees and k to
// 1e-8 of PROJ's exact Transverse Mercator (proj prints both to 8
// decimals): the example zones, and points 3 degrees east and west.
TEST(GridScale, AgreesWithProjWithinThreeDegreesOfTheCentralMeridian) {
  TERVELA_SKIP_WITHOUT(HostProjPrograms);
  struct Case {
    ParameterTexts system;
    double latitude, longitude;
  };
  const Case kCases[] = {
      {ExampleZone("5500000", "15"), 45.815, 15.982},  {ExampleZone("5500000", "15"), 45.2, 13.5},
      {ExampleZone("5500000", "15"), 46.5, 18.0},      {ExampleZone("5500000", "15"), 42.0, 12.0},
      {ExampleZone("6500000", "18"), 45.5, 19.1},      {ExampleZone("6500000", "18"), 43.0, 21.0},
      {kZeroShiftSystem, 0.5, 17.999},                 {kZeroShiftSystem, -33.9, 12.0},
      {kZeroShiftSystem, 60.0, 15.0},                  {kZeroShiftSystem, 72.0, 18.0},
  };
  double worst_gamma = 0, worst_k = 0;
  for (const Case& c : kCases) {
    const TGridSystem set = SystemFrom(c.system);
    TGridScale scale;
    ASSERT_TRUE(GridConvergenceAndScale(set, Geographic(c.latitude, c.longitude), scale).ok());
    const ProjFactors proj = ProjAt(set, c.latitude, c.longitude);
    ASSERT_FALSE(std::isnan(proj.scale) || std::isnan(proj.convergence)) << "proj -V gave no factors";
    EXPECT_NEAR(scale.Convergence, proj.convergence, 1e-6) << c.latitude << " " << c.longitude;
    EXPECT_NEAR(scale.ScaleFactor, proj.scale, 1e-8) << c.latitude << " " << c.longitude;
    worst_gamma = std::max(worst_gamma, std::fabs(scale.Convergence - proj.convergence));
    worst_k = std::max(worst_k, std::fabs(scale.ScaleFactor - proj.scale));
  }
  char figures[64];
  std::snprintf(figures, sizeof figures, "gamma %.2g degrees, k %.2g", worst_gamma, worst_k);
  RecordProperty("largest_differences", figures);
}

std::string MessageOf(const Status& status) { return status.ok() ? "ok" : status.error().message(); }

// Side by side, in calls of one to nine points, each point ends as alone:
// across the area, and where a lane faults or is not finite.
TEST(GridScale, BatchesGiveWhatEachPointGivesAlone) {
  std::vector<TWorkingPoint> points;
  for (double latitude = -80; latitude <= 80; latitude += 7.3) {
    for (double longitude = 5; longitude <= 25; longitude += 1.7) {
      points.push_back(Geographic(latitude, longitude));
    }
  }
  const double kHostile[][2] = {{90, 15}, {-90, 200}, {45, 1e300}, {1e308, 15}, {45, NAN}, {45, 1e60}};
  for (std::size_t i = 0; i < 3 * std::size(kHostile); ++i) {
    points.push_back(Geographic(kHostile[i % std::size(kHostile)][0], kHostile[i % std::size(kHostile)][1]));
    points.push_back(Geographic(45.5, 15.5 + static_cast<double>(i)));
  }
  for (const TGridSystem& set :
       {SystemFrom(ExampleZone("5500000", "15")), SystemFrom(kWorkedSystem), SystemFrom(kAllZeroSystem)}) {
    std::vector<TGridScale> batch(points.size());
    std::vector<Status> statuses(points.size());
    for (std::size_t first = 0, size = 1; first < points.size(); first += size, size = size % 9 + 1) {
      const std::size_t count = std::min(size, points.size() - first);
      GridConvergenceAndScaleBatch(set, std::span(points).subspan(first, count),
                                   std::span(batch).subspan(first, count),
                                   std::span(statuses).subspan(first, count));
    }
    for (std::size_t i = 0; i < points.size(); ++i) {
      TGridScale alone;
      const Status alone_status = GridConvergenceAndScale(set, points[i], alone);
      EXPECT_EQ(MessageOf(statuses[i]), MessageOf(alone_status)) << "point " << i;
      if (alone_status.ok()) {
        EXPECT_EQ(std::memcmp(&batch[i], &alone, sizeof alone), 0) << "point " << i;
      }
    }
  }
}

}  // namespace
}  // namespace tervela::test
