#pragma once

#include <algorithm>

#include "settings/record_systems.h"
#include "test_support/worked_systems.h"

namespace tervela::testing {

// System A: no datum shift, Da = Df = 0, scale 0.9999, false easting 500000,
// false northing 0, central meridian 15. System B: the same projection with
// the three-parameter shift dx 100, dy -50, dz 80, da 739.845,
// df 0.10037483 and the seven-parameter shift Tx 100, Ty -50, Tz 80, Rx 1,
// Ry -2, Rz 3, k 5.
inline TSettingsTexts WorkedExampleSettings() {
  TSettingsTexts texts;
  std::copy(kZeroShiftSystem.begin(), kZeroShiftSystem.end(), texts.begin());
  std::copy(kWorkedSystem.begin(), kWorkedSystem.end(), texts.begin() + kSystemTextCount);
  texts[2 * kSystemTextCount] = "System A";
  texts[2 * kSystemTextCount + 1] = "System B";
  return texts;
}

inline TRecordSystems WorkedExampleSystems() { return ReadRecordSystems(WorkedExampleSettings(), '.'); }

// Both systems equal to system A above: A to B then returns its input grid
// point up to the residual of the inversion.
inline TSettingsTexts IdenticalSystemsSettings() {
  TSettingsTexts texts = WorkedExampleSettings();
  for (int i = 0; i < kSystemTextCount; ++i) texts[kSystemTextCount + i] = texts[i];
  return texts;
}

}  // namespace tervela::testing
