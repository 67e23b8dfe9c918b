#include "cli/command_line.h"

#include "cli/control_options.h"
#include "cli/options.h"

#include <vector>

namespace tervela {

const char kUsageText[] =
    "usage: tervela-convert --settings FILE --direction wgs-a|wgs-b|a-wgs|b-wgs|a-b|b-a\n"
    "                       [--seven] [--scripts] [--decimal-separator C]\n"
    "                       [--geojson FILE] [--kml FILE] [--plot FILE.svg|FILE.png]\n"
    "                       [--dxf FILE] [--csv FILE] INPUT OUTPUT\n"
    "       tervela-convert [--settings FILE] [--system-a SYSTEM] [--system-b SYSTEM]\n"
    "                       [--near LAT,LON] [--operation-3p CODE] [--operation-7p CODE]\n"
    "                       --write-settings FILE | --direction ... INPUT OUTPUT\n"
    "       tervela-convert --describe-system SYSTEM [--near LAT,LON] [--operation-3p CODE]\n"
    "                       [--operation-7p CODE] | --list-operations SYSTEM [--near LAT,LON]\n"
    "       tervela-convert --list-systems TEXT\n"
    "       tervela-convert --settings FILE --check CONTROL --grid a|b [--seven]\n"
    "                       [--tolerance METRES] [--calibrate [--write-settings OUT]]\n"
    "       tervela-convert --help | --version\n";

namespace {

// The usage error of a check or conversion that needs system A or B when
// neither --settings nor --system-a/--system-b gives it; "" when none is
// missing.
std::string MissingSystemError(const TCommandLine& command) {
  if (!command.settings_path.empty()) return {};
  std::vector<TLocalSystem> needed;
  if (command.check_grid) {
    needed.push_back(*command.check_grid);
  } else {
    needed.push_back(SourceSystem(command.conversion.direction));
    if (GridToGrid(command.conversion.direction)) needed.push_back(TargetSystem(command.conversion.direction));
  }
  for (const TLocalSystem system : needed) {
    const bool a = system == TLocalSystem::A;
    if ((a ? command.system_a : command.system_b).empty()) {
      return std::string("system ") + (a ? "A" : "B") + " is needed: give --system-" + (a ? "a" : "b") +
             " SYSTEM or --settings FILE";
    }
  }
  return {};
}

}  // namespace

TCommandLineParse ParseCommandLine(std::span<const std::string> arguments) {
  TCommandLineParse parse;
  TCommandLine& command = parse.command;
  auto fail = [&parse](std::string message) {
    parse.usage_error = std::move(message);
    return parse;
  };
  std::vector<std::string> files;
  bool options_ended = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    std::string argument = arguments[i];
    if (options_ended || argument == "-" || !argument.starts_with("-")) {
      files.push_back(argument);
      continue;
    }
    if (argument == "--") {
      options_ended = true;
      continue;
    }
    // "--name=value" or "--name value" for the options that take a value.
    std::optional<std::string> value;
    if (const std::size_t equals = argument.find('='); argument.starts_with("--") && equals != std::string::npos) {
      value = argument.substr(equals + 1);
      argument.resize(equals);
    }
    const TOption* option = FindOption(argument == "-h" ? "--help" : argument);
    const bool takes_value = option && !option->argument.empty();
    if (takes_value && !value) {
      if (i + 1 == arguments.size()) return fail(argument + " needs a value");
      value = arguments[++i];
    } else if (!takes_value && value) {
      return fail(QuotedText(argument) + " takes no value");
    }
    if (!option) return fail("unknown option " + QuotedText(argument));
    if (std::string error = option->apply(value.value_or(""), command); !error.empty()) return fail(error);
    if (command.help || command.version) return parse;
  }
  const bool fills = !command.system_a.empty() || !command.system_b.empty() || !command.describe_system.empty();
  if (command.near && !fills && command.list_operations.empty()) {
    return fail("--near needs --system-a, --system-b, --describe-system or --list-operations");
  }
  if ((!command.operation_3p.empty() || !command.operation_7p.empty()) && !fills) {
    return fail("--operation-3p and --operation-7p need --system-a, --system-b or --describe-system");
  }
  if (!command.list_operations.empty()) {
    if (!files.empty()) return fail("--list-operations takes no INPUT or OUTPUT");
    return parse;
  }
  if (!command.describe_system.empty() || command.list_systems) {
    if (!files.empty()) return fail("--describe-system and --list-systems take no INPUT or OUTPUT");
    return parse;
  }
  if (command.settings_path.empty() && command.system_a.empty() && command.system_b.empty()) {
    return fail("--settings FILE is required");
  }
  if (std::string error = ControlUsageError(command, files.size()); !error.empty()) {
    return fail(error);
  }
  if (!command.check_path.empty()) {
    if (std::string error = MissingSystemError(command); !error.empty()) return fail(error);
    return parse;
  }
  if (!command.write_settings_path.empty()) {
    if (command.direction_given || !files.empty()) return fail("--write-settings converts nothing");
    return parse;
  }
  if (!command.direction_given) return fail("--direction is required");
  if (files.size() != 2) return fail("INPUT and OUTPUT are required");
  command.conversion.input_name = files[0];
  command.conversion.output_name = files[1];
  if (command.conversion.scripts && command.conversion.output_name == "-") {
    return fail("--scripts needs an OUTPUT file name, not \"-\"");
  }
  if (std::string error = MissingSystemError(command); !error.empty()) return fail(error);
  return parse;
}

}  // namespace tervela
