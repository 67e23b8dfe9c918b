#pragma once

// Systems and points shared by the engine tests. The systems are written as
// the eighteen texts of the settings page and read with ReadGridSystem, so
// every test also goes through its order and unit conversions.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>

#include "engine/engine.h"
#include "settings/system_values.h"
#include "test_support/worked_systems.h"

namespace tervela::test {

using ParameterTexts = std::array<std::string, kSystemTextCount>;

// Positions of the eighteen texts.
// clang-format off
enum Field {
  kDx, kDy, kDz, kDa, kDf, kCorrN, kCorrE,
  kScaleFactor, kFalseEasting, kFalseNorthing, kCentralMeridian,
  kTx, kTy, kTz, kRx, kRy, kRz, kK,
};
// clang-format on

inline ParameterTexts TextsOf(const testing::SystemTexts& system) {
  ParameterTexts texts;
  std::copy(system.begin(), system.end(), texts.begin());
  return texts;
}

// The system of the worked examples of the two shifts (test_support).
inline const ParameterTexts kWorkedSystem = TextsOf(testing::kWorkedSystem);
// System A of the projection and inversion examples: all shift values zero, Da = Df = 0.
inline const ParameterTexts kZeroShiftSystem = TextsOf(testing::kZeroShiftSystem);

// clang-format off
inline const ParameterTexts kAllZeroSystem = {
    "0", "0", "0", "0", "0", "0", "0", "0", "0",
    "0", "0", "0", "0", "0", "0", "0", "0", "0"};
// clang-format on

// `texts` with the text at `field` replaced.
inline ParameterTexts With(ParameterTexts texts, Field field, std::string text) {
  texts[field] = std::move(text);
  return texts;
}

inline TGridSystem SystemFrom(const ParameterTexts& texts) {
  const Result<TGridSystem> system = ReadGridSystem(texts, '.');
  EXPECT_TRUE(system.ok()) << system.error().message();
  return system.value();
}

inline TWorkingPoint Geographic(double latitude, double longitude) {
  TWorkingPoint point;
  point.Latitude = latitude;
  point.Longitude = longitude;
  return point;
}

inline TWorkingPoint GridTarget(double northing, double easting) {
  TWorkingPoint point;
  point.TargetNorthing = northing;
  point.TargetEasting = easting;
  return point;
}

// Arc-seconds of a difference in degrees.
inline double ArcSeconds(double degrees) { return degrees * 3600.0; }

}  // namespace tervela::test
