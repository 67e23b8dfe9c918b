#include "common/number_text.h"
#include "test_support/case_name.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace tervela {
namespace {

struct TypedCase {
  const char* text;
  char separator;
  double expected;
};

class TypedNumberAccepted : public ::testing::TestWithParam<TypedCase> {};

TEST_P(TypedNumberAccepted, ParsesToValue) {
  const TypedCase& c = GetParam();
  Result<double> r = ParseTypedNumber(c.text, c.separator);
  ASSERT_TRUE(r.ok()) << c.text << ": " << r.error().message();
  EXPECT_EQ(r.value(), c.expected) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Grammar, TypedNumberAccepted,
    ::testing::Values(TypedCase{"0", '.', 0.0}, TypedCase{"45.5", '.', 45.5},
                      TypedCase{"45,5", ',', 45.5}, TypedCase{"  45.5  ", '.', 45.5},
                      TypedCase{"-12", '.', -12.0}, TypedCase{"+12", '.', 12.0},
                      TypedCase{"1e3", '.', 1000.0}, TypedCase{"1E-3", '.', 0.001},
                      TypedCase{"2.5e+2", '.', 250.0}, TypedCase{".5", '.', 0.5},
                      TypedCase{"5.", '.', 5.0}, TypedCase{"1e-400", '.', 0.0},
                      TypedCase{"0.00000000001e-320", '.', 0.0},
                      TypedCase{"0.0001e-9223372036854775808", '.', 0.0},
                      TypedCase{"-1e-99999999999999999999", '.', -0.0},
                      TypedCase{"5009927.168", '.', 5009927.168},
                      TypedCase{"1.7976931348623157e308", '.', std::numeric_limits<double>::max()}),
    [](const auto& info) { return testing::CaseName(info.index, info.param.text); });

struct RefusedCase {
  const char* text;
  char separator;
};

class TypedNumberRefused : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(TypedNumberRefused, GivesNotANumberWithTheTextAsTyped) {
  const RefusedCase& c = GetParam();
  Result<double> r = ParseTypedNumber(c.text, c.separator);
  ASSERT_FALSE(r.ok()) << c.text;
  EXPECT_EQ(r.error().message(), std::string("'") + c.text + "' is not a valid floating point value");
}

INSTANTIATE_TEST_SUITE_P(
    Grammar, TypedNumberRefused,
    ::testing::Values(RefusedCase{"", '.'}, RefusedCase{"   ", '.'}, RefusedCase{"\t45", '.'},
                      RefusedCase{"45\t", '.'}, RefusedCase{"45,5", '.'},
                      RefusedCase{"45.5", ','}, RefusedCase{"1.000,5", '.'},
                      RefusedCase{"45\xC2\xB0", '.'}, RefusedCase{"4 5", '.'},
                      RefusedCase{"--4", '.'}, RefusedCase{"1e", '.'}, RefusedCase{"1e+", '.'},
                      RefusedCase{".", '.'}, RefusedCase{"-", '.'}, RefusedCase{"1.2.3", '.'},
                      RefusedCase{"inf", '.'}, RefusedCase{"nan", '.'}, RefusedCase{"0x10", '.'},
                      RefusedCase{"e5", '.'}, RefusedCase{"1e5.5", '.'}),
    [](const auto& info) { return testing::CaseName(info.index, info.param.text); });

TEST(TypedNumber, MagnitudeBeyondDoubleRangeIsOverflow) {
  for (const char* text : {"1e400", "-1e400", "1000e306", "0.1e310", "1.8e308",
                           "1e9223372036854775807", "0.01e99999999999999999999"}) {
    Result<double> r = ParseTypedNumber(text, '.');
    ASSERT_FALSE(r.ok()) << text;
    EXPECT_EQ(r.error().message(), "Floating point overflow") << text;
  }
}

TEST(FileNumber, AcceptsThePointGrammarOnly) {
  EXPECT_EQ(ParseFileNumber("45.22568").value(), 45.22568);
  EXPECT_EQ(ParseFileNumber("-5e2").value(), -500.0);
  EXPECT_EQ(ParseFileNumber("+7").value(), 7.0);
  for (const char* token : {"45,5", "", " 1", "1 ", "North", "1e", "12a", "12:5", "4.5:", "/5"}) {
    Result<double> r = ParseFileNumber(token);
    ASSERT_FALSE(r.ok()) << token;
    EXPECT_EQ(r.error().message(), "Invalid numeric input") << token;
    EXPECT_EQ(r.error().code(), 106);
  }
  EXPECT_EQ(ParseFileNumber("1e999").error().message(), "Floating point overflow");
  EXPECT_EQ(ParseFileNumber("1e9223372036854775807").error().message(), "Floating point overflow");
  EXPECT_EQ(ParseFileNumber("0.0001e-9223372036854775808").value(), 0.0);
}

// The one-pass reading of plain decimals inside ParseFileNumber against the
// general reader (which ParseTypedNumber always takes), on tokens of up to 17
// digits around the 15 the one pass takes.
TEST(FileNumber, PlainDecimalsReadAsTheGeneralReaderDoes) {
  std::mt19937_64 random(20261208);
  for (int i = 0; i < 100000; ++i) {
    std::string token = random() % 2 ? "-" : "";
    const int digits = 1 + static_cast<int>(random() % 17);
    const int point = static_cast<int>(random() % (digits + 1));
    for (int d = 0; d < digits; ++d) {
      if (d == point && d > 0) token += '.';
      token += static_cast<char>('0' + random() % 10);
    }
    ASSERT_EQ(ParseFileNumber(token).value(), ParseTypedNumber(token, '.').value()) << token;
  }
  // Shapes next to the plain one, which the file grammar decides.
  for (const char* token :
       {"5.", ".5", "-", "-.5", "1.2.3", "--5", "5-", "+5", "1e5", "-0", "00.0"}) {
    const Result<double> fast = ParseFileNumber(token), grammar = ParseTypedNumber(token, '.');
    ASSERT_EQ(fast.ok(), grammar.ok()) << token;
    if (fast.ok()) {
      EXPECT_EQ(fast.value(), grammar.value()) << token;
    }
  }
}

struct FormatCase {
  double value;
  int decimals;
  char separator;
  const char* expected;
};

class FixedFormat : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FixedFormat, RoundsHalvesAwayAndDropsNegativeZero) {
  const FormatCase& c = GetParam();
  EXPECT_EQ(FormatFixed(c.value, c.decimals, c.separator), c.expected);
  if (c.separator == '.') {
    char buffer[kMaxFixedChars];
    EXPECT_EQ(std::string(buffer, FormatFixedTo(buffer, c.value, c.decimals)), c.expected);
    EXPECT_EQ(RoundToDecimals(c.value, c.decimals), ParseTypedNumber(c.expected, '.').value());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rules, FixedFormat,
    ::testing::Values(FormatCase{0.0625, 3, '.', "0.063"}, FormatCase{-0.0625, 3, '.', "-0.063"},
                      FormatCase{0.5, 0, '.', "1"}, FormatCase{2.5, 0, '.', "3"},
                      FormatCase{0.125, 2, ',', "0,13"}, FormatCase{9.9995, 3, '.', "9.999"},
                      FormatCase{99.9375, 3, '.', "99.938"}, FormatCase{999.5, 0, '.', "1000"},
                      FormatCase{-0.0004, 3, '.', "0.000"}, FormatCase{-0.0, 3, '.', "0.000"},
                      FormatCase{-0.0005, 3, '.', "-0.001"},
                      FormatCase{5009927.16849, 3, '.', "5009927.168"},
                      FormatCase{45.2256799960, 8, ',', "45,22568000"},
                      FormatCase{1234567.0, 1, '.', "1234567.0"},
                      FormatCase{-100.04, 1, '.', "-100.0"}, FormatCase{1e20, 3, '.', "100000000000000000000.000"},
                      FormatCase{9999999.9996, 3, '.', "10000000.000"},
                      FormatCase{0.99999999996, 8, '.', "1.00000000"},
                      FormatCase{999999.94, 1, '.', "999999.9"},
                      // Decimal ties that a double holds a little below or above.
                      FormatCase{1.0005, 3, '.', "1.000"}, FormatCase{1.0015, 3, '.', "1.002"},
                      FormatCase{2.675, 2, '.', "2.67"}, FormatCase{8.345, 2, '.', "8.35"},
                      FormatCase{0.0005, 3, '.', "0.001"}, FormatCase{-0.045, 2, '.', "-0.04"},
                      FormatCase{123456.78905, 4, '.', "123456.7891"},
                      FormatCase{0.49999999999999994, 0, '.', "0"},
                      FormatCase{0.5000000000000001, 0, '.', "1"}),
    [](const auto& info) { return testing::CaseName(info.index, info.param.expected); });

TEST(FixedFormat, LongDoubleKeepsTheSameRules) {
  EXPECT_EQ(FormatFixed(0.0625L, 3, '.'), "0.063");
  EXPECT_EQ(FormatFixed(-0.0001L, 3, ','), "0,000");
  EXPECT_EQ(FormatFixed(-5009927.1685L, 3, '.'), "-5009927.169");
}

// The file writer's fast path against the general formatter, on values of
// every magnitude it takes, ties and the doubles nearest a decimal tie included.
TEST(FixedFormat, FileFormatMatchesTheGeneralFormatter) {
  std::mt19937_64 random(20261208);
  std::uniform_real_distribution<double> mantissa(-1.0, 1.0);
  std::uniform_int_distribution<int> exponent(-12, 16), decimals(0, 9);
  for (int i = 0; i < 200000; ++i) {
    const int d = decimals(random);
    double value = std::ldexp(mantissa(random), exponent(random) * 3);
    if (i % 4 == 0) value = std::round(value * std::pow(10.0, d + 1)) / std::pow(10.0, d + 1);
    // The double nearest a decimal tie, and its neighbours on either side.
    if (i % 4 == 1) {
      value = (std::floor(value * std::pow(10.0, d)) + 0.5) / std::pow(10.0, d);
      if (i % 3 != 0) value = std::nextafter(value, i % 3 == 1 ? -HUGE_VAL : HUGE_VAL);
    }
    char out[kMaxFixedChars];
    const std::string fast(out, FormatFixedTo(out, value, d));
    ASSERT_EQ(fast, FormatFixed(value, d, '.')) << value << " with " << d << " decimals";
    ASSERT_EQ(RoundToDecimals(value, d), ParseTypedNumber(fast, '.').value()) << fast;
  }
}

}  // namespace
}  // namespace tervela
