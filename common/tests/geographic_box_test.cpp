#include "common/geographic_box.h"
#include "test_support/case_name.h"

#include <gtest/gtest.h>

namespace tervela {
namespace {

// An area of use against a place and against a system's area: whether it
// holds the point, and the share of the system's area it covers.
struct BoxCase {
  const char* name;
  TGeographicBox box;
  TGeographicPoint point;
  bool holds;
  TGeographicBox system;
  double share;
};

class AreaOfUse : public ::testing::TestWithParam<BoxCase> {};

TEST_P(AreaOfUse, HoldsAndCovers) {
  const BoxCase& c = GetParam();
  EXPECT_EQ(Holds(c.box, c.point), c.holds);
  EXPECT_NEAR(SharedFraction(c.box, c.system), c.share, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, AreaOfUse,
    ::testing::Values(
        BoxCase{"bounds included, whole area exactly", {5.86, 47.27, 13.84, 55.09}, {55.09, 13.84}, true,
                {7.5, 47.27, 10.51, 55.09}, 1},
        BoxCase{"east of it, half the area", {0, 0, 10, 10}, {5, 10.01}, false, {5, 0, 15, 10}, 0.5},
        // Longitudes from 170 E over the 180th meridian to 170 W.
        BoxCase{"across 180 degrees, west of it", {170, -50, -170, -30}, {-40, -175}, true, {175, -50, 185, -30},
                1},
        BoxCase{"across 180 degrees, a turn on", {170, -50, -170, -30}, {-40, 545}, true, {-180, -50, 180, -30},
                20.0 / 360},
        BoxCase{"north of it, the northern half by surface", {-10, 0, 10, 90}, {-1, 0}, false,
                {-10, -90, 10, 90}, 0.5},
        BoxCase{"a system without surface", {0, 0, 10, 10}, {20, 5}, false, {5, 5, 5, 5}, 1}),
    [](const auto& info) { return testing::CaseName(info.index, info.param.name); });

TEST(Place, ReadAndNamed) {
  const struct {
    const char* text;
    char separator;
    std::optional<TGeographicPoint> place;
  } places[] = {{"50.1,8.7", '.', TGeographicPoint{50.1, 8.7}},
                {" -33.9 , 18.4 ", '.', TGeographicPoint{-33.9, 18.4}},
                {"50,1; 8,7", ',', TGeographicPoint{50.1, 8.7}},
                {"50,1,8,7", ',', std::nullopt},
                {"50.1", '.', std::nullopt},
                {"50.1,8.7,1", '.', std::nullopt}};
  for (const auto& [text, separator, place] : places) {
    const std::optional<TGeographicPoint> read = ReadPlace(text, separator);
    EXPECT_EQ(read.has_value(), place.has_value()) << text;
    if (read && place) {
      EXPECT_TRUE(read->latitude == place->latitude && read->longitude == place->longitude) << text;
    }
  }
  EXPECT_EQ(PointText({-33.94, -0.04}), "33.9S 0.0E");
  EXPECT_EQ(BoxText({170, -50.5, -170.25, -30}), "50.5S 170E to 30S 170.25W");
}

}  // namespace
}  // namespace tervela
