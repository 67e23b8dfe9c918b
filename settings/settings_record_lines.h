#pragma once

#include "common/result.h"
#include "io/buffered_writer.h"
#include "settings/settings_record.h"

namespace tervela {

// Writes the 38 texts to `sink` in line order, each followed by CR LF. Stops at
// the first failing write and returns its error.
Status WriteSettingsLines(const TSettingsTexts& texts, io::ByteSink& sink);

}  // namespace tervela
