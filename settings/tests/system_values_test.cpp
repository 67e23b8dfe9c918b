// A system's eighteen texts read into the typed system: their order, their
// unit conversions, the stop at the first text that is not a number, and
// the place a record gives that error.

#include "settings/system_values.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>
#include <string>

#include "settings/record_systems.h"
#include "test_support/worked_systems.h"

namespace tervela {
namespace {

using Texts = std::array<std::string, kSystemTextCount>;
using F = TSystemField;

// Texts "1" to "18", so each field shows where its value came from.
Texts Numbered() {
  Texts texts;
  for (int i = 0; i < kSystemTextCount; ++i) texts[i] = std::to_string(i + 1);
  return texts;
}

Texts With(Texts texts, TSystemField field, std::string text) {
  texts[static_cast<std::size_t>(field)] = std::move(text);
  return texts;
}

Texts Worked() {
  Texts texts;
  std::copy(testing::kWorkedSystem.begin(), testing::kWorkedSystem.end(), texts.begin());
  return texts;
}

const Texts kAllZero = With(Numbered(), F::Dx, "0");

TSystemValues Filled(double value) {
  TSystemValues values;
  for (int i = 0; i < kSystemTextCount; ++i) values[static_cast<TSystemField>(i)] = value;
  return values;
}

TEST(ReadSystemValues, ReadsTheEighteenTextsInOrderDxFirstKLast) {
  TSystemValues values = Filled(-1);
  ASSERT_TRUE(ReadSystemValues(Numbered(), '.', values).ok());
  for (int i = 0; i < kSystemTextCount; ++i) EXPECT_EQ(values[static_cast<TSystemField>(i)], i + 1) << i;
}

TEST(GridSystemOf, HoldsEachNumberInTheEnginesUnit) {
  TSystemValues values;
  ASSERT_TRUE(ReadSystemValues(Numbered(), '.', values).ok());
  const TGridSystem system = GridSystemOf(values);
  EXPECT_EQ(system.molodensky.translation(), (std::array<double, 3>{1, 2, 3}));
  EXPECT_EQ(system.ellipsoid.da(), 4);
  EXPECT_EQ(system.ellipsoid.df(), 5.0 / 10000);
  EXPECT_EQ(system.molodensky.corr_n(), 6);
  EXPECT_EQ(system.molodensky.corr_e(), 7);
  EXPECT_EQ(system.projection.scale_factor(), 8);
  EXPECT_EQ(system.projection.false_easting(), 9);
  EXPECT_EQ(system.projection.false_northing(), 10);
  EXPECT_EQ(system.projection.central_meridian(), 11);
  EXPECT_EQ(system.helmert.translation(), (std::array<double, 3>{12, 13, 14}));
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(system.helmert.rotation()[i], (15 + i) / 648000.0 * std::numbers::pi) << i;
  }
  EXPECT_EQ(system.helmert.scale_difference(), 18 / 1000000.0);
  // And back as the Settings page shows them.
  const TSystemValues shown = SettingsPageValues(system);
  for (int i = 0; i < kSystemTextCount; ++i) {
    EXPECT_NEAR(shown[static_cast<TSystemField>(i)], i + 1, 1e-14 * (i + 1)) << i;
  }
}

TEST(ReadGridSystem, RotationOfOneArcSecondIsHeldInRadians) {
  const Result<TGridSystem> system =
      ReadGridSystem(With(With(With(Worked(), F::Rx, "1"), F::Ry, "1"), F::Rz, "1"), '.');
  ASSERT_TRUE(system.ok());
  const std::array<double, 3>& rotation = system.value().helmert.rotation();
  EXPECT_NEAR(rotation[0], 4.84813681109536e-06, 0.5e-20);
  EXPECT_EQ(rotation[1], rotation[0]);
  EXPECT_EQ(rotation[2], rotation[0]);
}

TEST(ReadGridSystem, UsesTheDecimalSeparatorGiven) {
  Texts texts = Worked();
  texts[static_cast<std::size_t>(F::Da)] = "739,845";
  texts[static_cast<std::size_t>(F::Df)] = "0,10037483";
  texts[static_cast<std::size_t>(F::ScaleFactor)] = "0,9999";
  const Result<TGridSystem> system = ReadGridSystem(texts, ',');
  ASSERT_TRUE(system.ok());
  EXPECT_EQ(system.value().ellipsoid.da(), 739.845);
  EXPECT_EQ(system.value().ellipsoid.df(), 0.10037483 / 10000);
  EXPECT_EQ(system.value().projection.scale_factor(), 0.9999);
  // A point is not a number where the separator is a comma.
  const Result<TGridSystem> pointed = ReadGridSystem(Worked(), ',');
  ASSERT_FALSE(pointed.ok());
  EXPECT_EQ(pointed.error().message(), "'739.845' is not a valid floating point value");
}

// For each position: a text that is not a number there stops the read; the
// values before it hold their new numbers, it and the values after it their
// old ones.
class StopsAtFirstBadText : public ::testing::TestWithParam<int> {};

TEST_P(StopsAtFirstBadText, EarlierValuesStoredLaterOnesKept) {
  const int bad = GetParam();
  for (const std::string text : {"", "abc", "1.2.3", "\t5"}) {
    Texts texts = Numbered();
    texts[bad] = text;
    if (bad + 1 < kSystemTextCount) texts[bad + 1] = "x";  // only the first bad text counts
    TSystemValues values = Filled(-1);
    const Status status = ReadSystemValues(texts, '.', values);
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.error().message(), "'" + text + "' is not a valid floating point value");
    EXPECT_EQ(status.error().line(), static_cast<std::uint64_t>(bad + 1));
    for (int i = 0; i < kSystemTextCount; ++i) {
      EXPECT_EQ(values[static_cast<TSystemField>(i)], i < bad ? i + 1 : -1.0)
          << "field " << i << ", bad " << bad << " '" << text << "'";
    }
    EXPECT_FALSE(ReadGridSystem(texts, '.').ok());
  }
}

// The name of the field at the test's position.
std::string FieldName(const ::testing::TestParamInfo<int>& info) {
  constexpr std::array<const char*, kSystemTextCount> kNames = {
      "Dx", "Dy", "Dz", "Da", "Df", "CorrN", "CorrE", "ScaleFactor", "FalseEasting",
      "FalseNorthing", "CentralMeridian", "Tx", "Ty", "Tz", "Rx", "Ry", "Rz", "K"};
  return kNames[info.param];
}

INSTANTIATE_TEST_SUITE_P(EachPosition, StopsAtFirstBadText, ::testing::Range(0, kSystemTextCount),
                         FieldName);

TEST(ReadSystemValues, OverflowingTextStopsTheReadWithOverflow) {
  TSystemValues values = Filled(-1);
  const Status status = ReadSystemValues(With(Numbered(), F::Tx, "1e999"), '.', values);
  ASSERT_FALSE(status.ok());
  EXPECT_EQ(status.error().message(), "Floating point overflow");
  EXPECT_EQ(values[F::CentralMeridian], 11);
  EXPECT_EQ(values[F::Tx], -1);
}

TEST(ReadGridSystem, BadTxAlsoStopsWhateverTheMethod) {
  // All eighteen texts are read for every conversion.
  EXPECT_FALSE(ReadGridSystem(With(Worked(), F::Tx, "1O0"), '.').ok());
}

// A record's bad text is placed at its line of the record and its file; the
// false easting stays as far as it was read.
TEST(ReadRecordSystems, PlacesTheErrorAtTheRecordLine) {
  struct Case {
    TLocalSystem system;
    TSystemField field;
    std::uint64_t line;
    double false_easting_read;
  };
  for (const Case c : {Case{TLocalSystem::A, F::Dx, 1, 0}, Case{TLocalSystem::A, F::FalseEasting, 9, 0},
                       Case{TLocalSystem::A, F::FalseNorthing, 10, 500000},
                       Case{TLocalSystem::B, F::Dx, 19, 0}, Case{TLocalSystem::B, F::K, 36, 500000}}) {
    TSettingsTexts record;
    PutSystemTexts(record, TLocalSystem::A, Worked(), "A");
    PutSystemTexts(record, TLocalSystem::B, Worked(), "B");
    record[FieldIndex(c.system, c.field)] = "x";
    const TRecordSystems systems = ReadRecordSystems(record, '.', "site.set");
    const TRecordSystem& bad = systems[c.system];
    const TRecordSystem& good = systems[c.system == TLocalSystem::A ? TLocalSystem::B : TLocalSystem::A];
    ASSERT_FALSE(bad.grid.ok());
    EXPECT_EQ(bad.grid.error().PlacedText(),
              "site.set: line " + std::to_string(c.line) + ": 'x' is not a valid floating point value.");
    EXPECT_EQ(bad.false_easting_read, c.false_easting_read);
    EXPECT_EQ(bad.name, c.system == TLocalSystem::A ? "A" : "B");
    ASSERT_TRUE(good.grid.ok());
    EXPECT_EQ(good.false_easting_read, 500000);
  }
}

}  // namespace
}  // namespace tervela
