// What the picture writes: its texts as Cairo takes them, and its labels'
// places.

#include <gtest/gtest.h>

#include <cmath>

#include "maps/label_places.h"
#include "maps/map_text.h"

namespace tervela {
namespace {

struct DrawnCase {
  const char* name;
  std::string bytes;
  std::size_t max_characters;
  std::string drawn;
};

class DrawnText : public ::testing::TestWithParam<DrawnCase> {};

TEST_P(DrawnText, IsUtf8CairoTakes) {
  std::string drawn;
  AppendDrawnText(drawn, GetParam().bytes, GetParam().max_characters);
  EXPECT_EQ(drawn, GetParam().drawn);
}

// Cairo refuses a whole text holding a noncharacter: U+FDD0 to U+FDEF and
// the last two code points of every plane.
const std::string kReplacement = "\xEF\xBF\xBD";
INSTANTIATE_TEST_SUITE_P(
    Names, DrawnText,
    ::testing::Values(
        DrawnCase{"NonCharactersReplaced",
                  "a\xEF\xBF\xBE\xEF\xBF\xBF\xEF\xB7\x90\xEF\xB7\xAF\xF0\x9F\xBF\xBF", 40,
                  "a" + kReplacement + kReplacement + kReplacement + kReplacement + kReplacement},
        DrawnCase{"NeighboursKept", "\xEF\xB7\x8F\xEF\xB7\xB0\xEF\xBF\xBD\xF0\x9F\xBF\xBD", 40,
                  "\xEF\xB7\x8F\xEF\xB7\xB0\xEF\xBF\xBD\xF0\x9F\xBF\xBD"},
        DrawnCase{"ControlsShownNulEnds", std::string("a\x01\tb\0c", 6), 40,
                  "a\xE2\x90\x81\xE2\x90\x89" "b"},
        DrawnCase{"LongNameCutByCharacters", "\xC3\xA9\xC3\xA9\xC3\xA9x\xE9", 3,
                  "\xC3\xA9\xC3\xA9\xC3\xA9\xE2\x80\xA6"},
        DrawnCase{"NameOfTheLimitWhole", "abc", 3, "abc"}),
    [](const auto& info) { return std::string(info.param.name); });

struct LabelCase {
  const char* name;
  std::vector<TPixelBox> kept_clear;
  std::vector<std::pair<double, double>> points;
  double width;  // of every label
};

class Labels : public ::testing::TestWithParam<LabelCase> {};

bool Overlap(const TPixelBox& a, const TPixelBox& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// Every label is placed near its point, on the picture, overlapping no other
// and nothing kept clear.
TEST_P(Labels, NeitherOverlapNorHide) {
  const LabelCase& c = GetParam();
  LabelPlaces places({0, 0, 800, 640}, 13, 9, 3);
  std::vector<TPixelBox> taken = c.kept_clear;
  for (const TPixelBox& box : taken) places.KeepClear(box);
  for (const auto& [x, y] : c.points) {
    const std::optional<LabelPlaces::Baseline> at = places.Place(x, y, c.width);
    ASSERT_TRUE(at) << x << " " << y;
    const TPixelBox box{at->x, at->y - 9, at->x + c.width, at->y + 3};
    EXPECT_TRUE(box.left >= 0 && box.right <= 800 && box.top >= 0 && box.bottom <= 640);
    EXPECT_LT(std::abs(at->y - y), 13 * 10.0);
    for (const TPixelBox& other : taken) EXPECT_FALSE(Overlap(box, other));
    taken.push_back(box);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Picture, Labels,
    ::testing::Values(
        LabelCase{"TwelvePointsAtOnePlace", {}, {12, {400, 300}}, 60},
        LabelCase{"PointUnderTheScaleBar", {{100, 530, 400, 562}}, {{120, 560}, {130, 555}}, 80},
        LabelCase{"PointAtTheRightEdge", {}, {{795, 300}, {795, 300}}, 120}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tervela
