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
  // Systems filled from PROJ's database ("EPSG:31467"), empty when not asked.
  std::string system_a, system_b;
  // Write the resulting settings record here and convert nothing.
  std::string write_settings_path;
  // Print the parameter set of this system and do nothing else.
  std::string describe_system;
  // List the Transverse Mercator systems whose name holds this text.
  std::optional<std::string> list_systems;
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
