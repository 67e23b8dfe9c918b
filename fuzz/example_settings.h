#pragma once

// The example settings (examples/two-zones.set), read once, for the targets
// that convert with them; TERVELA_EXAMPLES_DIR names the folder.

#include "fuzz/fuzz_checks.h"
#include "settings/settings_record.h"

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

}  // namespace tervela::fuzz
