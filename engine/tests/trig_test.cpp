// The engine's own sine, cosine and arc tangents (engine/trig.h): exact
// results where the C library's may differ by a last bit, and a sweep against
// long double, which holds 11 bits more.

#include <gtest/gtest.h>

#include <bit>
#include <cfenv>
#include <cstdint>
#include <cmath>
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "engine/trig.h"

namespace tervela::engine_internal {
namespace {

// The correctly rounded values, from mpmath at 600 bits.
struct SinCosCase {
  std::string name;
  double x, sin_x, cos_x;
};
struct Atan2Case {
  std::string name;
  double y, x, angle;
};

const SinCosCase kSinCosCases[] = {
    {"Zero", 0x0.0p+0, 0x0.0p+0, 0x1.0000000000000p+0},
    {"NegativeZero", -0x0.0p+0, -0x0.0p+0, 0x1.0000000000000p+0},
    {"Tiny", 0x1.56e1fc2f8f359p-997, 0x1.56e1fc2f8f359p-997, 0x1.0000000000000p+0},
    {"Subnormal", 0x0.0000000000001p-1022, 0x0.0000000000001p-1022, 0x1.0000000000000p+0},
    {"OneDegree", 0x1.1df46a2529d39p-6, 0x1.1df0b2b89dd1ep-6, 0x1.ffec097f5af8ap-1},
    {"NearHalfPi", 0x1.921fb54442d18p+0, 0x1.0000000000000p+0, 0x1.1a62633145c07p-54},
    {"NearPi", 0x1.921fb54442d18p+1, 0x1.1a62633145c07p-53, -0x1.0000000000000p+0},
    {"NearMinusPi", -0x1.921fb54442d18p+1, -0x1.1a62633145c07p-53, -0x1.0000000000000p+0},
    {"NearTwoPi", 0x1.921fb54442d18p+2, -0x1.1a62633145c07p-52, 0x1.0000000000000p+0},
    {"EightyNineDegrees", 0x1.8da7e39bae2a4p+0, 0x1.ffec097f5af8ap-1, 0x1.1df0b2b89dcf7p-6},
    {"NearTableMidpoint", 0x1.2d97c7f3321d2p-6, 0x1.2d936bbe30efdp-6, 0x1.ffe9cb44b51a1p-1},
    {"TwoHundredDegrees", 0x1.becde5da115a9p+1, -0x1.5e3a8748a0bf4p-2, -0x1.e11f642522d1cp-1},
    {"MinusSeventyDegrees", -0x1.38c35418a5bf6p+0, -0x1.e11f642522d1bp-1, 0x1.5e3a8748a0bf7p-2},
    {"AFewTurns", 0x1.f400000000000p+9, 0x1.a75cc150a206bp-1, 0x1.1ff026793f1bbp-1},
    {"LargestReduced", 0x1.0000000000000p+16, 0x1.62566735b8513p-1, -0x1.719453109288bp-1},
};

const Atan2Case kAtan2Cases[] = {
    {"OnPositiveAxis", 0x0.0p+0, 0x1.0000000000000p+0, 0x0.0p+0},
    {"NegativeZeroOnPositiveAxis", -0x0.0p+0, 0x1.0000000000000p+0, -0x0.0p+0},
    {"OnNegativeAxis", 0x0.0p+0, -0x1.0000000000000p+0, 0x1.921fb54442d18p+1},
    {"BelowNegativeAxis", -0x0.0p+0, -0x1.0000000000000p+0, -0x1.921fb54442d18p+1},
    {"Diagonal", 0x1.0000000000000p+0, 0x1.0000000000000p+0, 0x1.921fb54442d18p-1},
    {"ThirdQuadrantDiagonal", -0x1.0000000000000p+0, -0x1.0000000000000p+0, -0x1.2d97c7f3321d2p+1},
    {"Vertical", 0x1.0000000000000p+0, 0x0.0p+0, 0x1.921fb54442d18p+0},
    {"TinyRatio", 0x1.56e1fc2f8f359p-997, 0x1.0000000000000p+0, 0x1.56e1fc2f8f359p-997},
    {"HugeRatio", 0x1.0000000000000p+0, 0x1.56e1fc2f8f359p-997, 0x1.921fb54442d18p+0},
    {"HugeBoth", 0x1.7e43c8800759cp+996, 0x1.1eb2d66005835p+998, 0x1.4978fa3269ee1p-2},
    {"SubnormalBoth", 0x0.00000000017b8p-1022, -0x0.012688b70e62bp-1022, 0x1.921fb5439de4cp+1},
    {"GeocentricLongitude", 0x1.2d687e4189375p+20, 0x1.0045b5ba786c2p+22, 0x1.24d5cd883f274p-2},
    {"NearTableMidpoint", 0x1.8000000000000p+1, 0x1.7ffffffffdda4p+9, 0x1.ffff5555be987p-9},
};

// Bits of a double, so that -0 and 0 differ.
std::uint64_t Bits(double value) { return std::bit_cast<std::uint64_t>(value); }


int FaultFlags() { return std::fetestexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW); }

class SinCosExact : public testing::TestWithParam<SinCosCase> {};
TEST_P(SinCosExact, IsTheCorrectlyRoundedValue) {
  const SinCosCase& c = GetParam();
  std::feclearexcept(FE_ALL_EXCEPT);
  double sin_x, cos_x;
  SinCos(c.x, sin_x, cos_x);
  EXPECT_EQ(Bits(sin_x), Bits(c.sin_x)) << std::hexfloat << sin_x << " for " << c.x;
  EXPECT_EQ(Bits(cos_x), Bits(c.cos_x)) << std::hexfloat << cos_x << " for " << c.x;
  EXPECT_EQ(Bits(Sin(c.x)), Bits(c.sin_x));
  EXPECT_EQ(FaultFlags(), 0);
}
INSTANTIATE_TEST_SUITE_P(Angles, SinCosExact, testing::ValuesIn(kSinCosCases),
                         [](const auto& info) { return info.param.name; });

class Atan2Exact : public testing::TestWithParam<Atan2Case> {};
TEST_P(Atan2Exact, IsTheCorrectlyRoundedValue) {
  const Atan2Case& c = GetParam();
  std::feclearexcept(FE_ALL_EXCEPT);
  EXPECT_EQ(Bits(Atan2(c.y, c.x)), Bits(c.angle)) << std::hexfloat << Atan2(c.y, c.x);
  if (c.x == 1) {
    EXPECT_EQ(Bits(Atan(c.y)), Bits(c.angle));
  }
  EXPECT_EQ(FaultFlags(), 0);
}
INSTANTIATE_TEST_SUITE_P(Points, Atan2Exact, testing::ValuesIn(kAtan2Cases),
                         [](const auto& info) { return info.param.name; });

// |value - reference| in units of the last place of the double nearest the
// reference: at most 0.5 for a correctly rounded value.
double UnitsInLastPlace(double value, long double reference) {
  const double nearest = static_cast<double>(reference);
  const double unit = std::nextafter(std::fabs(nearest), INFINITY) - std::fabs(nearest);
  return static_cast<double>(std::fabs(value - reference) / unit);
}

// Every table row is met by many angles; long double's 11 more bits show a
// value that is off by more than 2^-9 of a last place. The angles lie within
// pi/4 of 0, which meets every row (the negative ones in the last quadrant),
// because beyond it x87's sinl reduces by a pi of 66 bits; the other
// quadrants are the exact cases'. So are results below 2^-6, near the zeros.
constexpr double kAllowedUnits = 0.5 + 0x1p-9;

TEST(TrigSweep, SinCosIsWithinHalfAUnitOfLongDouble) {
  std::mt19937_64 random(26);
  std::uniform_real_distribution<double> angle(-0x1.921fb54442d18p-1, 0x1.921fb54442d18p-1);
  for (int k = 0; k < 200000; ++k) {
    const double x = angle(random);
    double sin_x, cos_x;
    SinCos(x, sin_x, cos_x);
    if (std::fabs(sin_x) > 0x1p-6) {
      ASSERT_LE(UnitsInLastPlace(sin_x, std::sin(static_cast<long double>(x))), kAllowedUnits)
          << std::hexfloat << x;
    }
    if (std::fabs(cos_x) > 0x1p-6) {
      ASSERT_LE(UnitsInLastPlace(cos_x, std::cos(static_cast<long double>(x))), kAllowedUnits)
          << std::hexfloat << x;
    }
  }
}

TEST(TrigSweep, Atan2IsWithinHalfAUnitOfLongDouble) {
  std::mt19937_64 random(26);
  std::uniform_real_distribution<double> coordinate(-3, 3);
  for (int k = 0; k < 200000; ++k) {
    const double y = coordinate(random);
    const double x = coordinate(random);
    ASSERT_LE(UnitsInLastPlace(Atan2(y, x), std::atan2(static_cast<long double>(y), x)),
              kAllowedUnits)
        << std::hexfloat << y << ' ' << x;
  }
}

// Four lanes at a time give each lane, bit for bit and flag for flag, what
// one point gives, whatever the other lanes hold: the exact cases side by
// side with arguments that go to the C library, which must give what it
// gives alone.
TEST(TrigLanes, EachLaneGetsWhatOnePointGets) {
  std::vector<std::pair<double, double>> args;  // (y, x); SinCos takes y
  for (const SinCosCase& c : kSinCosCases) args.push_back({c.x, 1});
  for (const Atan2Case& c : kAtan2Cases) args.push_back({c.y, c.x});
  const std::vector<std::pair<double, double>> to_library = {
      {NAN, NAN}, {INFINITY, INFINITY}, {-INFINITY, 2}, {1e300, 0}, {0, 0}, {-0.0, -0.0}};
  args.insert(args.end(), to_library.begin(), to_library.end());
  std::mt19937_64 random(26);
  for (int round = 0; round < 100; ++round) {
    Lanes y{}, x{};
    int library_flags = 0;
    double sin_one[kLaneCount], cos_one[kLaneCount], atan2_one[kLaneCount];
    for (int i = 0; i < kLaneCount; ++i) {
      const std::size_t pick = random() % args.size();
      std::tie(y[i], x[i]) = args[pick];
      std::feclearexcept(FE_ALL_EXCEPT);
      SinCos(y[i], sin_one[i], cos_one[i]);
      atan2_one[i] = Atan2(y[i], x[i]);
      const int flags = FaultFlags();
      if (pick < args.size() - to_library.size()) {
        EXPECT_EQ(flags, 0) << y[i] << ' ' << x[i];
        continue;
      }
      std::feclearexcept(FE_ALL_EXCEPT);
      EXPECT_EQ(Bits(sin_one[i]), Bits(std::sin(y[i])));
      EXPECT_EQ(Bits(cos_one[i]), Bits(std::cos(y[i])));
      EXPECT_EQ(Bits(atan2_one[i]), Bits(std::atan2(y[i], x[i])));
      EXPECT_EQ(flags, FaultFlags()) << y[i] << ' ' << x[i];
      library_flags |= flags;
    }
    std::feclearexcept(FE_ALL_EXCEPT);
    Lanes sin_lanes, cos_lanes;
    SinCos(y, sin_lanes, cos_lanes);
    const Lanes atan2_lanes = Atan2(y, x);
    EXPECT_EQ(FaultFlags(), library_flags);
    for (int i = 0; i < kLaneCount; ++i) {
      EXPECT_EQ(Bits(sin_lanes[i]), Bits(sin_one[i])) << y[i];
      EXPECT_EQ(Bits(cos_lanes[i]), Bits(cos_one[i])) << y[i];
      EXPECT_EQ(Bits(atan2_lanes[i]), Bits(atan2_one[i])) << y[i] << ' ' << x[i];
    }
  }
}

}  // namespace
}  // namespace tervela::engine_internal
