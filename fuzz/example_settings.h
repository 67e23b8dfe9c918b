#pragma once

// The example settings (examples/two-zones.set), read once, for the targets
// that convert with them; TERVELA_EXAMPLES_DIR names the folder.

#include "fuzz/fuzz_checks.h"
#include "settings/record_systems.h"

namespace tervela::fuzz {

inline const TSettingsTexts& ExampleSettings() {
  static const TSettingsTexts texts = [] {
    TSettingsTexts read;
    Require(ReadSettingsRecord(TERVELA_EXAMPLES_DIR "/two-zones.set", read).ok(),
            "the example settings read");
    return read;
  }();
  return texts;
}

inline const TRecordSystems& ExampleSystems() {
  static const TRecordSystems systems = ReadRecordSystems(ExampleSettings(), '.');
  return systems;
}

}  // namespace tervela::fuzz
