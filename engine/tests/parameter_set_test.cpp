// ReadParameterSet, its order, its unit conversions and its stop at
// the first text that is not a number.

#include "engine/parameter_set.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>
#include <string>

#include "engine/tests/test_systems.h"

namespace tervela::test {
namespace {

// The eighteen fields in the order of the settings page.
// clang-format off
constexpr std::array<double TParameterSet::*, kParameterCount> kOrder = {
    &TParameterSet::Dx, &TParameterSet::Dy, &TParameterSet::Dz,
    &TParameterSet::Da, &TParameterSet::Df, &TParameterSet::CorrN,
    &TParameterSet::CorrE, &TParameterSet::ScaleFactor, &TParameterSet::FalseEasting,
    &TParameterSet::FalseNorthing, &TParameterSet::CentralMeridian, &TParameterSet::Tx,
    &TParameterSet::Ty, &TParameterSet::Tz, &TParameterSet::Rx,
    &TParameterSet::Ry, &TParameterSet::Rz, &TParameterSet::K};
// clang-format on

// Texts "1" to "18", so each field shows where its value came from.
ParameterTexts Numbered() {
  ParameterTexts texts;
  for (int i = 0; i < kParameterCount; ++i) texts[i] = std::to_string(i + 1);
  return texts;
}

// The value a field holds for the entered value `entered` at position `i`.
double Held(int i, double entered) {
  if (i == kRx || i == kRy || i == kRz) return entered / 648000 * std::numbers::pi;
  if (i == kK) return entered / 1000000;
  return entered;
}

TParameterSet Filled(double value) {
  TParameterSet set;
  for (auto field : kOrder) set.*field = value;
  set.Name = "kept";
  return set;
}

TEST(ReadParameterSet, ReadsTheEighteenTextsInOrderDxFirstKLast) {
  TParameterSet set = Filled(-1);
  ASSERT_TRUE(ReadParameterSet(Numbered(), '.', set).ok());
  for (int i = 0; i < kParameterCount; ++i) {
    EXPECT_EQ(set.*kOrder[i], Held(i, i + 1)) << "field " << i;
  }
  EXPECT_EQ(set.Name, "kept");  // Name is not read
}

TEST(ReadParameterSet, RotationOfOneArcSecondIsHeldInRadians) {
  TParameterSet set;
  ASSERT_TRUE(
      ReadParameterSet(With(With(With(kAllZeroSystem, kRx, "1"), kRy, "1"), kRz, "1"), '.', set)
          .ok());
  EXPECT_NEAR(set.Rx, 4.84813681109536e-06, 0.5e-20);
  EXPECT_EQ(set.Ry, set.Rx);
  EXPECT_EQ(set.Rz, set.Rx);
}

TEST(ReadParameterSet, OnePartPerMillionIsHeldAsOneMillionth) {
  TParameterSet set;
  ASSERT_TRUE(ReadParameterSet(With(kAllZeroSystem, kK, "1"), '.', set).ok());
  EXPECT_EQ(set.K, 0.000001);
}

TEST(ReadParameterSet, EveryOtherFieldIsStoredAsParsed) {
  TParameterSet set;
  ASSERT_TRUE(ReadParameterSet(kWorkedSystem, '.', set).ok());
  EXPECT_EQ(set.Dx, 100);
  EXPECT_EQ(set.Dy, -50);
  EXPECT_EQ(set.Dz, 80);
  EXPECT_EQ(set.Da, 739.845);
  EXPECT_EQ(set.Df, 0.10037483);  // df x 10000, as entered
  EXPECT_EQ(set.ScaleFactor, 0.9999);
  EXPECT_EQ(set.FalseEasting, 500000);
  EXPECT_EQ(set.CentralMeridian, 15);
  EXPECT_EQ(set.Tz, 80);
  EXPECT_EQ(set.K, 5.0 / 1000000);
}

TEST(ReadParameterSet, UsesTheDecimalSeparatorGiven) {
  TParameterSet set;
  ParameterTexts texts = kWorkedSystem;
  texts[kDa] = "739,845";
  texts[kDf] = "0,10037483";
  texts[kScaleFactor] = "0,9999";
  ASSERT_TRUE(ReadParameterSet(texts, ',', set).ok());
  EXPECT_EQ(set.Da, 739.845);
  EXPECT_EQ(set.Df, 0.10037483);
  EXPECT_EQ(set.ScaleFactor, 0.9999);
  // A point is not a number where the separator is a comma.
  const Status status = ReadParameterSet(kWorkedSystem, ',', set);
  ASSERT_FALSE(status.ok());
  EXPECT_EQ(status.error().message(), "'739.845' is not a valid floating point value");
}

// For each position: a text that is not a number there stops the fill; the
// fields before it hold their new values, it and the fields after it their
// old ones.
class StopsAtFirstBadText : public ::testing::TestWithParam<int> {};

TEST_P(StopsAtFirstBadText, EarlierFieldsStoredLaterOnesKept) {
  const int bad = GetParam();
  for (const std::string text : {"", "abc", "1.2.3", "\t5"}) {
    ParameterTexts texts = Numbered();
    texts[bad] = text;
    if (bad + 1 < kParameterCount) texts[bad + 1] = "x";  // only the first bad text counts
    TParameterSet set = Filled(-1);
    const Status status = ReadParameterSet(texts, '.', set);
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.error().message(), "'" + text + "' is not a valid floating point value");
    for (int i = 0; i < kParameterCount; ++i) {
      EXPECT_EQ(set.*kOrder[i], i < bad ? Held(i, i + 1) : -1.0)
          << "field " << i << ", bad " << bad << " '" << text << "'";
    }
    EXPECT_EQ(set.Name, "kept");
  }
}

// The name of the field at the test's position.
std::string FieldName(const ::testing::TestParamInfo<int>& info) {
  constexpr std::array<const char*, kParameterCount> kNames = {
      "Dx", "Dy", "Dz", "Da", "Df", "CorrN", "CorrE", "ScaleFactor", "FalseEasting",
      "FalseNorthing", "CentralMeridian", "Tx", "Ty", "Tz", "Rx", "Ry", "Rz", "K"};
  return kNames[info.param];
}

INSTANTIATE_TEST_SUITE_P(EachPosition, StopsAtFirstBadText, ::testing::Range(0, kParameterCount),
                         FieldName);

TEST(ReadParameterSet, EmptyFirstTextChangesNothing) {
  ParameterTexts texts = kWorkedSystem;
  texts[kDx] = "";
  TParameterSet set = Filled(7);
  const Status status = ReadParameterSet(texts, '.', set);
  ASSERT_FALSE(status.ok());
  EXPECT_EQ(status.error().message(), "'' is not a valid floating point value");
  for (auto field : kOrder) EXPECT_EQ(set.*field, 7);
}

TEST(ReadParameterSet, OverflowingTextStopsTheFillWithOverflow) {
  TParameterSet set = Filled(-1);
  const Status status = ReadParameterSet(With(Numbered(), kTx, "1e999"), '.', set);
  ASSERT_FALSE(status.ok());
  EXPECT_EQ(status.error().message(), "Floating point overflow");
  EXPECT_EQ(set.CentralMeridian, 11);
  EXPECT_EQ(set.Tx, -1);
}

TEST(ReadParameterSet, BadTxAlsoStopsWhateverTheMethod) {
  // All eighteen texts are read for every conversion.
  TParameterSet set;
  EXPECT_FALSE(ReadParameterSet(With(kWorkedSystem, kTx, "1O0"), '.', set).ok());
}

}  // namespace
}  // namespace tervela::test
