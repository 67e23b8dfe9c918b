#pragma once

#include <string>

#include "common/result.h"

namespace tervela {

// Writes the settings record at `example_path`, whose parameter texts use a
// decimal point, to `target_path` with `separator` in their place, so that
// the window reads it in the user's locale at once. The two system names are
// copied unchanged. Used on a first start, through the window's
// --write-first-settings option.
Status WriteFirstSettings(const std::string& example_path, const std::string& target_path, char separator);

}  // namespace tervela
