#pragma once

#include <optional>
#include <span>
#include <string>

#include "batch/point_file_conversion.h"
#include "common/geographic_box.h"

namespace tervela {

// What tervela-convert was asked to do.
struct TCommandLine {
  bool help = false;
  bool version = false;
  std::string settings_path;
  TFileConversion conversion;
  bool direction_given = false;  // --direction was given
  std::optional<char> decimal_separator;  // unset: the locale's
  // Systems filled from PROJ's database ("EPSG:31467"), empty when not asked.
  std::string system_a, system_b;
  // The place those systems, and the one described or whose operations are
  // listed, are used at; the datum operations asked for their shifts (codes).
  std::optional<TGeographicPoint> near;
  std::string operation_3p, operation_7p;
  // Write the resulting (or calibrated) settings record here and convert nothing.
  std::string write_settings_path;
  // Print the parameter set of this system and do nothing else.
  std::string describe_system;
  // List the Transverse Mercator systems whose name holds this text.
  std::optional<std::string> list_systems;
  // List the candidate datum operations of this system.
  std::string list_operations;
  // The control-point check (cli/control_options.h): the control file, the
  // grid checked, the largest residual accepted (metres), whether to
  // calibrate (the calibrated record goes to write_settings_path).
  std::string check_path;
  std::optional<TLocalSystem> check_grid;
  std::optional<double> tolerance;
  bool calibrate = false;
};

// Reads the arguments after the program name, with the options of
// cli/options.h. The error is a one-line
// description of the usage mistake.
struct TCommandLineParse {
  TCommandLine command;
  std::string usage_error;  // empty when the arguments are usable
};
TCommandLineParse ParseCommandLine(std::span<const std::string> arguments);

// The short usage shown with a usage error; --help's text is HelpText()
// (cli/options.h).
extern const char kUsageText[];

}  // namespace tervela
