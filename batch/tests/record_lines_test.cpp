// Script and output line pieces for given working points.

#include "batch/record_lines.h"

#include <gtest/gtest.h>

#include <string>

#include "common/number_text.h"
#include "test_support/case_name.h"

namespace tervela {
namespace {

std::string Written(char* (*write)(char*, const TWorkingPoint&), const TWorkingPoint& point) {
  char buffer[2 * kMaxFixedChars + 32];
  return std::string(buffer, write(buffer, point));
}

struct ScriptCase {
  double easting, northing;
  std::int64_t number;
  const char* point_line;
  const char* text_start;
  const char* number_line;
};

class ScriptLines : public ::testing::TestWithParam<ScriptCase> {};

TEST_P(ScriptLines, AreWrittenWithOneDecimal) {
  const ScriptCase& c = GetParam();
  TWorkingPoint point;
  point.Easting = c.easting;
  point.Northing = c.northing;
  EXPECT_EQ(Written(WritePointLine, point), c.point_line);
  EXPECT_EQ(Written(WriteTextLineStart, point), c.text_start);
  char buffer[2 * kMaxFixedChars + 32];
  EXPECT_EQ(std::string(buffer, WriteNumberLine(buffer, point, c.number)), c.number_line);
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, ScriptLines,
    ::testing::Values(
        ScriptCase{388863.697, 5010498.551, 1, "point 388863.7,5010498.6\r\n",
                   "text 388863.7,5010498.6 5 0 ", "text 388863.7,5010494.6 3 0 1\r\n"},
        // The label's Y comes from the unrounded northing: 100.04 - 4.
        ScriptCase{20.0, 100.04, 12, "point 20.0,100.0\r\n", "text 20.0,100.0 5 0 ",
                   "text 20.0,96.0 3 0 12\r\n"},
        ScriptCase{-12.25, -7.75, 3000000000, "point -12.3,-7.8\r\n", "text -12.3,-7.8 5 0 ",
                   "text -12.3,-11.8 3 0 3000000000\r\n"},
        ScriptCase{0.5, 3.96, 7, "point 0.5,4.0\r\n", "text 0.5,4.0 5 0 ", "text 0.5,0.0 3 0 7\r\n"}),
    [](const auto& info) { return testing::CaseName(info.index, info.param.point_line); });

TEST(OutputFields, HaveTheDirectionsDecimalsAndBlanks) {
  TWorkingPoint point;
  point.Northing = 5010498.5506;
  point.Easting = -0.0001;
  point.Latitude = 45.225679996;
  point.Longitude = -13.58477000007;
  char buffer[2 * kMaxFixedChars + 32];
  auto fields = [&](TConversionDirection d) {
    return std::string(buffer, WriteOutputFields(buffer, d, point));
  };
  EXPECT_EQ(fields(TConversionDirection::WgsToB), "5010498.551 0.000");
  EXPECT_EQ(fields(TConversionDirection::BToWgs), "45.22568000 -13.58477000 ");
  EXPECT_EQ(fields(TConversionDirection::BToA), "5010498.551 0.000 ");
}

}  // namespace
}  // namespace tervela
