#include "cli/command_line.h"

#include <array>
#include <string_view>
#include <utility>
#include <vector>

namespace tervela {

const char kUsageText[] =
    "usage: tervela-convert --settings FILE --direction wgs-a|wgs-b|a-wgs|b-wgs|a-b|b-a\n"
    "                       [--seven] [--scripts] [--decimal-separator C]\n"
    "                       [--geojson FILE] [--kml FILE] [--plot FILE.svg|FILE.png] INPUT OUTPUT\n"
    "       tervela-convert --help | --version\n";

const char kHelpText[] =
    "tervela-convert converts a point file between WGS84 and the local grids A and B,\n"
    "writing the same files as \"Convert File\" in the Tervela window.\n"
    "\n"
    "usage: tervela-convert --settings FILE --direction DIRECTION\n"
    "                       [--seven] [--scripts] [--decimal-separator C]\n"
    "                       [--geojson FILE] [--kml FILE] [--plot FILE.svg|FILE.png] INPUT OUTPUT\n"
    "\n"
    "  --settings FILE        settings record holding both systems' parameters\n"
    "                         (a .set file saved by the window, or Tervela.ini)\n"
    "  --direction DIRECTION  wgs-a  WGS84 to TM - A      a-wgs  TM - A to WGS84\n"
    "                         wgs-b  WGS84 to TM - B      b-wgs  TM - B to WGS84\n"
    "                         a-b    TM - A to TM - B     b-a    TM - B to TM - A\n"
    "  --seven                use the seven-parameter datum shift instead of the\n"
    "                         three-parameter one\n"
    "  --scripts              also write the drawing scripts OUTPUT\" text.scr\",\n"
    "                         OUTPUT\" point.scr\" and OUTPUT\" prognumb.scr\"\n"
    "  --decimal-separator C  parse the parameter texts of FILE with C as decimal\n"
    "                         separator; by default the separator of the locale set\n"
    "                         in the environment (LC_ALL, LC_NUMERIC, LANG), which\n"
    "                         is the one the window uses. Point files always use a\n"
    "                         point.\n"
    "  --geojson FILE         also write the converted points to FILE as GeoJSON\n"
    "  --kml FILE             and as KML: one feature per point, in record order,\n"
    "                         at its WGS84 position, named by the record's text\n"
    "  --plot FILE            also draw the points on their grid into FILE: PNG\n"
    "                         when its name ends in .png, else SVG\n"
    "  --help                 show this text\n"
    "  --version              print the program's name and version\n"
    "\n"
    "INPUT and OUTPUT are file names; \"-\" reads standard input or writes standard\n"
    "output (no scripts then). On a terminal, a run longer than a second shows its\n"
    "progress on standard error.\n"
    "\n"
    "Exit status: 0 on success, with nothing printed; 1 when the conversion fails,\n"
    "with the error printed on standard error; 2 on a usage error; 141, with\n"
    "nothing printed, when standard output is a pipe whose reader has gone.\n"
    "\n"
    "example: tervela-convert --settings site.set --direction wgs-a --scripts \\\n"
    "             points.txt points-a.txt\n";

namespace {

constexpr std::array<std::pair<std::string_view, TConversionDirection>, 6> kDirections = {{
    {"wgs-a", TConversionDirection::WgsToA},
    {"wgs-b", TConversionDirection::WgsToB},
    {"a-wgs", TConversionDirection::AToWgs},
    {"b-wgs", TConversionDirection::BToWgs},
    {"a-b", TConversionDirection::AToB},
    {"b-a", TConversionDirection::BToA},
}};

std::optional<TConversionDirection> DirectionNamed(std::string_view name) {
  for (const auto& [text, direction] : kDirections) {
    if (text == name) return direction;
  }
  return std::nullopt;
}

// The map file name an option sets, or null.
std::string* MapFileOption(TCommandLine& command, std::string_view option) {
  if (option == "--geojson") return &command.conversion.geojson_name;
  if (option == "--kml") return &command.conversion.kml_name;
  if (option == "--plot") return &command.conversion.plot_name;
  return nullptr;
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
  bool direction_given = false;
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
    const bool takes_value = argument == "--settings" || argument == "--direction" ||
                             argument == "--decimal-separator" || MapFileOption(command, argument);
    if (takes_value && !value) {
      if (i + 1 == arguments.size()) return fail(argument + " needs a value");
      value = arguments[++i];
    } else if (!takes_value && value) {
      return fail(QuotedText(argument) + " takes no value");
    }
    if (argument == "--help" || argument == "-h") {
      command.help = true;
      return parse;
    } else if (argument == "--version") {
      command.version = true;
      return parse;
    } else if (argument == "--settings") {
      command.settings_path = *value;
    } else if (argument == "--direction") {
      const std::optional<TConversionDirection> direction = DirectionNamed(*value);
      if (!direction) return fail("unknown direction '" + QuotedText(*value) + "'");
      command.conversion.direction = *direction;
      direction_given = true;
    } else if (argument == "--decimal-separator") {
      if (value->size() != 1) return fail("--decimal-separator needs a single character");
      command.decimal_separator = (*value)[0];
    } else if (std::string* name = MapFileOption(command, argument)) {
      if (value->empty() || *value == "-") return fail(argument + " needs a file name");
      *name = *value;
    } else if (argument == "--seven") {
      command.conversion.method = TShiftMethod::SevenParameter;
    } else if (argument == "--scripts") {
      command.conversion.scripts = true;
    } else {
      return fail("unknown option " + QuotedText(argument));
    }
  }
  if (command.settings_path.empty()) return fail("--settings FILE is required");
  if (!direction_given) return fail("--direction is required");
  if (files.size() != 2) return fail("INPUT and OUTPUT are required");
  command.conversion.input_name = files[0];
  command.conversion.output_name = files[1];
  if (command.conversion.scripts && command.conversion.output_name == "-") {
    return fail("--scripts needs an OUTPUT file name, not \"-\"");
  }
  return parse;
}

}  // namespace tervela
