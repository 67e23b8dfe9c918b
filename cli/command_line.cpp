#include "cli/command_line.h"

#include "cli/control_options.h"

#include <array>
#include <string_view>
#include <utility>
#include <vector>

namespace tervela {

const char kUsageText[] =
    "usage: tervela-convert --settings FILE --direction wgs-a|wgs-b|a-wgs|b-wgs|a-b|b-a\n"
    "                       [--seven] [--scripts] [--decimal-separator C]\n"
    "                       [--geojson FILE] [--kml FILE] [--plot FILE.svg|FILE.png] INPUT OUTPUT\n"
    "       tervela-convert [--settings FILE] [--system-a SYSTEM] [--system-b SYSTEM]\n"
    "                       --write-settings FILE | --direction ... INPUT OUTPUT\n"
    "       tervela-convert --describe-system SYSTEM | --list-systems TEXT\n"
    "       tervela-convert --settings FILE --check CONTROL --grid a|b [--seven]\n"
    "                       [--tolerance METRES] [--calibrate [--write-settings OUT]]\n"
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
    "  --decimal-separator C  parse the parameter texts of FILE with C, a point (.)\n"
    "                         or a comma (,), as decimal separator; by default the\n"
    "                         separator of the locale set in the environment\n"
    "                         (LC_ALL, LC_NUMERIC, LANG), taken from ICU's locale\n"
    "                         data as the window takes it, installed or not. Point\n"
    "                         files always use a point.\n"
    "  --geojson FILE         also write the converted points to FILE as GeoJSON\n"
    "  --kml FILE             and as KML: one feature per point, in record order,\n"
    "                         at its WGS84 position, named by the record's text\n"
    "  --plot FILE            also draw the points on their grid into FILE: PNG\n"
    "                         when its name ends in .png, else SVG\n"
    "  --system-a SYSTEM      fill system A from PROJ's database: a Transverse\n"
    "  --system-b SYSTEM      Mercator grid named as PROJ names it (EPSG:31467),\n"
    "                         instead of --settings or on top of it\n"
    "  --write-settings FILE  write the resulting 38-line settings record to FILE,\n"
    "                         with the decimal separator above, and convert nothing\n"
    "  --describe-system SYSTEM\n"
    "                         print the system's name, the datum transformations\n"
    "                         its shifts come from with EPSG's accuracy, and its\n"
    "                         eighteen values\n"
    "  --list-systems TEXT    list the Transverse Mercator systems whose name holds\n"
    "                         TEXT: code, name and area of use, tab-separated\n"
    "\n"
    "usage: tervela-convert --settings FILE --check CONTROL --grid a|b [--seven]\n"
    "                       [--tolerance METRES] [--calibrate [--write-settings OUT]]\n"
    "\n"
    "  --check CONTROL        check grid a or b of FILE against control points. Each\n"
    "                         line of CONTROL holds latitude, longitude, northing and\n"
    "                         easting, separated by blanks or tabs, then an optional\n"
    "                         name; blank lines and lines starting with # are\n"
    "                         skipped. Prints per point NAME<TAB>dN<TAB>dE<TAB>d, the\n"
    "                         control's grid coordinate minus the converted one and\n"
    "                         its length in metres, with a fifth field \"outlier\"\n"
    "                         for a point more than 5 times the median spread and\n"
    "                         3 cm off the median residual; then\n"
    "                         points N<TAB>rms R<TAB>max M<TAB>outliers K, the RMS and\n"
    "                         maximum taken over the points not flagged\n"
    "  --grid a|b             the grid the control coordinates are in\n"
    "  --tolerance METRES     exit with status 3 when a point's residual, flagged or\n"
    "                         not, is longer than METRES (after --calibrate: with\n"
    "                         the calibrated values)\n"
    "  --calibrate            fit the mean horizontal residual of the points not\n"
    "                         flagged and remove it: with the three-parameter shift\n"
    "                         by corr.N and corr.E, with --seven by the smallest\n"
    "                         change of Tx, Ty and Tz. Horizontal control points do\n"
    "                         not determine the rotations, the scale or a vertical\n"
    "                         shift, so Rx, Ry, Rz and k stay as they are. Prints the\n"
    "                         table again with the calibrated values, then a line\n"
    "                         with them\n"
    "  --write-settings OUT   with --calibrate: write the settings with the\n"
    "                         calibrated values to OUT; FILE itself is never changed\n"
    "\n"
    "  --help                 show this text\n"
    "  --version              print the program's name and version\n"
    "\n"
    "INPUT and OUTPUT are file names; \"-\" reads standard input or writes standard\n"
    "output (no scripts then). On a terminal, a run longer than a second shows its\n"
    "progress on standard error.\n"
    "\n"
    "Exit status: 0 on success, a conversion printing nothing; 1 when the\n"
    "conversion or check fails, with the error printed on standard error; 2 on a\n"
    "usage error; 3 when a control point exceeds --tolerance; 141, with nothing\n"
    "printed, when standard output is a pipe whose reader has gone.\n"
    "\n"
    "example: tervela-convert --settings site.set --direction wgs-a --scripts \\\n"
    "             points.txt points-a.txt\n"
    "         tervela-convert --settings site.set --check control.txt --grid a \\\n"
    "             --calibrate --write-settings site-calibrated.set\n";

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
                             argument == "--decimal-separator" || argument == "--system-a" ||
                             argument == "--system-b" || argument == "--write-settings" ||
                             argument == "--describe-system" || argument == "--list-systems" ||
                             IsControlValueOption(argument) || MapFileOption(command, argument);
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
      // A digit, sign, exponent letter or blank would change what a number is.
      if (*value != "." && *value != ",") {
        return fail("--decimal-separator must be a point or a comma, not '" + QuotedText(*value) + "'");
      }
      command.decimal_separator = (*value)[0];
    } else if (argument == "--system-a") {
      command.system_a = *value;
    } else if (argument == "--system-b") {
      command.system_b = *value;
    } else if (argument == "--write-settings") {
      command.write_settings_path = *value;
    } else if (argument == "--describe-system") {
      command.describe_system = *value;
    } else if (argument == "--list-systems") {
      command.list_systems = *value;
    } else if (std::string* name = MapFileOption(command, argument)) {
      if (value->empty() || *value == "-") return fail(argument + " needs a file name");
      *name = *value;
    } else if (argument == "--seven") {
      command.conversion.method = TShiftMethod::SevenParameter;
    } else if (argument == "--scripts") {
      command.conversion.scripts = true;
    } else if (std::optional<std::string> error = ApplyControlOption(argument, value, command)) {
      if (!error->empty()) return fail(*error);
    } else {
      return fail("unknown option " + QuotedText(argument));
    }
  }
  if (!command.describe_system.empty() || command.list_systems) {
    if (!files.empty()) return fail("--describe-system and --list-systems take no INPUT or OUTPUT");
    return parse;
  }
  if (command.settings_path.empty() && command.system_a.empty() && command.system_b.empty()) {
    return fail("--settings FILE is required");
  }
  if (std::string error = ControlUsageError(command, direction_given, files.size()); !error.empty()) {
    return fail(error);
  }
  if (!command.check_path.empty()) return parse;
  if (!command.write_settings_path.empty()) {
    if (direction_given || !files.empty()) return fail("--write-settings converts nothing");
    return parse;
  }
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
