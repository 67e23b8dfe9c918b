#pragma once

#include <optional>
#include <span>
#include <string>

#include "batch/point_file_conversion.h"

namespace tervela {

// What tervela-convert was asked to do.
struct TCommandLine {
  bool help = false;
  bool version = false;
  std::string settings_path;
  TFileConversion conversion;
  std::optional<char> decimal_separator;  // unset: the locale's
  // The control-point check (cli/control_options.h): the control file, the
  // grid checked, the largest residual accepted (metres), whether to
  // calibrate and where to write the calibrated settings record.
  std::string check_path;
  std::optional<TLocalSystem> check_grid;
  std::optional<double> tolerance;
  bool calibrate = false;
  std::string write_settings_path;
};

// Reads the arguments after the program name. The error is a one-line
// description of the usage mistake.
struct TCommandLineParse {
  TCommandLine command;
  std::string usage_error;  // empty when the arguments are usable
};
TCommandLineParse ParseCommandLine(std::span<const std::string> arguments);

// The short usage shown with a usage error, and the full --help text.
extern const char kUsageText[];
extern const char kHelpText[];

}  // namespace tervela
