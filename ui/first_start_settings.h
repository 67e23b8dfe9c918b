#pragma once

#include <string>

#include "common/result.h"

namespace tervela {

// Writes the settings record at `example_path`, whose parameter texts use a
// decimal point, to `target_path` with `separator` in their place, so that
// the window reads it in the user's locale at once. The two system names are
// copied unchanged.
Status WriteFirstSettings(const std::string& example_path, const std::string& target_path, char separator);

// The first start in the working folder `home` (UTF-8), one without
// Tervela.ini yet: makes the folder, copies the example point files from the
// folder `examples` where `home` has none of their names, and writes the
// example settings there as Tervela.ini (WriteFirstSettings). Whether it was
// a first start; nothing is done otherwise. The Windows program does it at
// every start, the Linux launcher through the window's --first-start option.
Result<bool> PrepareWorkingFolder(const std::string& home, const std::string& examples, char separator);

// Tervela.ini in the working folder `home`.
std::string StartupSettingsPath(const std::string& home);

}  // namespace tervela
