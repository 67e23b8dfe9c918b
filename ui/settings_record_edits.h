#pragma once

#include <array>

#include "settings/settings_record.h"

namespace tervela {

// The number of the Settings page's edit each record line belongs to:
// Edit1..Edit10, Edit13..Edit20 (system A), Edit21..Edit38 (system B),
// Edit43, Edit44 (the two names).
inline constexpr std::array<int, kSettingsLineCount> kSettingsRecordEdits = {
    1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 13, 14, 15, 16, 17, 18, 19, 20, 21,
    22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 43, 44};

}  // namespace tervela
