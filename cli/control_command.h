#pragma once

#include <string>

#include "cli/command_line.h"
#include "common/result.h"
#include "settings/settings_record.h"

namespace tervela {

// The exit status of a check with a point beyond --tolerance.
inline constexpr int kExitBeyondTolerance = 3;

// The output of `tervela-convert --check`: the residual tables and the
// calibrated values, and whether a point exceeded the tolerance.
struct TControlCommandOutput {
  std::string text;
  bool beyond_tolerance = false;
};

// Reads the control file, checks (and calibrates) the grid of `settings`, the
// record the command line has built, writes the calibrated record to
// --write-settings, and returns what to print. Nothing is written when any step fails; the record is written
// only when it is not the input settings file (else "I/O error 32", as for a
// conversion whose output is its settings file).
Result<TControlCommandOutput> RunControlCommand(const TCommandLine& command,
                                                const TSettingsTexts& settings,
                                                char decimal_separator);

}  // namespace tervela
