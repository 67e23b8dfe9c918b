// Which points the picture rings as far apart from the others.

#include <gtest/gtest.h>

#include "maps/far_points.h"

namespace tervela {
namespace {

struct FarCase {
  const char* name;
  std::vector<TGridPoint> points;
  std::vector<bool> far;
};

class FarApart : public ::testing::TestWithParam<FarCase> {};

TEST_P(FarApart, MarksOnlyPlainBlunders) { EXPECT_EQ(FarApartPoints(GetParam().points), GetParam().far); }

// A survey of a few kilometres, and the same with one point 50 km off or
// with north and east swapped.
const std::vector<TGridPoint> kSurvey = {{5575000, 5075000}, {5577000, 5076000}, {5574000, 5073500},
                                         {5576500, 5072000}, {5578000, 5074500}};

std::vector<TGridPoint> With(TGridPoint extra) {
  std::vector<TGridPoint> points = kSurvey;
  points.insert(points.begin() + 2, extra);
  return points;
}

INSTANTIATE_TEST_SUITE_P(
    Points, FarApart,
    ::testing::Values(FarCase{"CompactSurvey", kSurvey, std::vector<bool>(5, false)},
                      FarCase{"OnePointFiftyKilometresOff", With({5625000, 5075000}),
                              {false, false, true, false, false, false}},
                      FarCase{"NorthAndEastSwapped", With({5075000, 5575000}), {false, false, true, false, false, false}},
                      FarCase{"PointsAlongARoute", {{0, 0}, {10000, 0}, {20000, 0}, {30000, 0}, {40000, 0}},
                              std::vector<bool>(5, false)},
                      FarCase{"OneSpotAndANeighbour", {{0, 0}, {0, 0}, {0, 0}, {5, 0}}, {false, false, false, true}},
                      FarCase{"TwoPointsJudgeNothing", {{0, 0}, {90000, 0}}, {false, false}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tervela
