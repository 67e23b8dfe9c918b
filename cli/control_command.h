#pragma once

#include <string>

#include "cli/command_line.h"
#include "common/result.h"
#include "settings/settings_record.h"

namespace tervela {

// The exit status of a check with a point beyond --tolerance.
inline constexpr int kExitBeyondTolerance = 3;

// The output of `tervela-convert --check`: the residual tables and the
// calibrated values for standard output, whether a point exceeded the
// tolerance, whether the calibration was refused, and why nothing was
// written (for standard error; empty when nothing was refused).
struct TControlCommandOutput {
  std::string text;
  bool beyond_tolerance = false;
  bool calibration_refused = false;
  std::string message;
};

// Reads the control file, checks (and calibrates) the grid of `settings`, the
// record the command line has built, writes the calibrated record to
// --write-settings, and returns what to print. Nothing is written when any
// step fails, when the calibration is refused (TControlReport's
// calibration_refusal) or when a point exceeds --tolerance. The record is
// written only when it is neither the input settings file nor the control
// file (else "I/O error 32", as for a conversion whose output is one of the
// files it reads).
Result<TControlCommandOutput> RunControlCommand(const TCommandLine& command,
                                                const TSettingsTexts& settings,
                                                char decimal_separator);

}  // namespace tervela
