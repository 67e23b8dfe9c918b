#include "cli/options.h"

#include <array>
#include <optional>
#include <utility>

#include "cli/command_line.h"
#include "common/number_text.h"

namespace tervela {
namespace {

constexpr std::array<std::pair<std::string_view, TConversionDirection>, 6> kDirections = {{
    {"wgs-a", TConversionDirection::WgsToA},
    {"wgs-b", TConversionDirection::WgsToB},
    {"a-wgs", TConversionDirection::AToWgs},
    {"b-wgs", TConversionDirection::BToWgs},
    {"a-b", TConversionDirection::AToB},
    {"b-a", TConversionDirection::BToA},
}};

std::string SetDirection(const std::string& value, TCommandLine& command) {
  for (const auto& [name, direction] : kDirections) {
    if (name == value) {
      command.conversion.direction = direction;
      command.direction_given = true;
      return {};
    }
  }
  return "unknown direction '" + QuotedText(value) + "'";
}

std::string SetDecimalSeparator(const std::string& value, TCommandLine& command) {
  if (value.size() != 1) return "--decimal-separator needs a single character";
  // A digit, sign, exponent letter or blank would change what a number is.
  if (value != "." && value != ",") {
    return "--decimal-separator must be a point or a comma, not '" + QuotedText(value) + "'";
  }
  command.decimal_separator = value[0];
  return {};
}

// A map file is written, never read from standard input or written to
// standard output.
std::string MapFileName(std::string_view option, const std::string& value, std::string& name) {
  if (value.empty() || value == "-") return std::string(option) + " needs a file name";
  name = value;
  return {};
}

std::string SetGrid(const std::string& value, TCommandLine& command) {
  if (value != "a" && value != "b") return "unknown grid '" + QuotedText(value) + "'";
  command.check_grid = value == "a" ? TLocalSystem::A : TLocalSystem::B;
  return {};
}

std::string SetTolerance(const std::string& value, TCommandLine& command) {
  const Result<double> metres = ParseTypedNumber(value, '.');
  if (!metres || !(metres.value() >= 0)) return "--tolerance needs a length in metres";
  command.tolerance = metres.value();
  return {};
}

std::string SetNear(const std::string& value, TCommandLine& command) {
  const std::optional<TGeographicPoint> place = ReadPlace(value, '.');
  if (!place) return "--near needs LAT,LON in decimal degrees, such as 50.1,8.7";
  if (!OnTheEarth(*place)) return "--near: the latitude lies from -90 to 90 and the longitude from -180 to 180";
  command.near = place;
  return {};
}

// A datum operation's code, "EPSG:1777".
std::string OperationCode(std::string_view option, const std::string& value, std::string& code) {
  if (value.empty()) return std::string(option) + " needs an operation's code, such as EPSG:1777";
  code = value;
  return {};
}

std::string SetWriteSettings(const std::string& value, TCommandLine& command) {
  command.write_settings_path = value;
  return {};
}

using Use = TOptionUse;

constexpr TOption kOptions[] = {
    {"--settings", "FILE", Use::Conversion,
     "settings record holding both systems' parameters\n"
     "(a .set file saved by the window, or Tervela.ini)",
     [](const std::string& value, TCommandLine& command) {
       command.settings_path = value;
       return std::string();
     }},
    {"--direction", "DIRECTION", Use::Conversion,
     "wgs-a  WGS84 to TM - A      a-wgs  TM - A to WGS84\n"
     "wgs-b  WGS84 to TM - B      b-wgs  TM - B to WGS84\n"
     "a-b    TM - A to TM - B     b-a    TM - B to TM - A",
     SetDirection},
    {"--seven", "", Use::Conversion,
     "use the seven-parameter datum shift instead of the\n"
     "three-parameter one",
     [](const std::string&, TCommandLine& command) {
       command.conversion.method = TShiftMethod::SevenParameter;
       return std::string();
     }},
    {"--scripts", "", Use::Conversion,
     "also write the drawing scripts OUTPUT\" text.scr\",\n"
     "OUTPUT\" point.scr\" and OUTPUT\" prognumb.scr\"",
     [](const std::string&, TCommandLine& command) {
       command.conversion.scripts = true;
       return std::string();
     }},
    {"--decimal-separator", "C", Use::Conversion,
     "parse the parameter texts of FILE with C, a point (.)\n"
     "or a comma (,), as decimal separator; by default the\n"
     "separator of the locale set in the environment\n"
     "(LC_ALL, LC_NUMERIC, LANG), taken from ICU's locale\n"
     "data as the window takes it, installed or not. Point\n"
     "files always use a point.",
     SetDecimalSeparator},
    {"--geojson", "FILE", Use::Conversion, "also write the converted points to FILE as GeoJSON",
     [](const std::string& value, TCommandLine& command) {
       return MapFileName("--geojson", value, command.conversion.geojson_name);
     }},
    {"--kml", "FILE", Use::Conversion,
     "and as KML: one feature per point, in record order,\n"
     "at its WGS84 position, named by the record's text",
     [](const std::string& value, TCommandLine& command) {
       return MapFileName("--kml", value, command.conversion.kml_name);
     }},
    {"--plot", "FILE", Use::Conversion,
     "also draw the points on their grid into FILE: PNG\n"
     "when its name ends in .png, else SVG",
     [](const std::string& value, TCommandLine& command) {
       return MapFileName("--plot", value, command.conversion.plot_name);
     }},
    {"--dxf", "FILE", Use::Conversion,
     "also write the points as a DXF R12 drawing on the output\n"
     "grid: layer POINTS, the record's text on POINT_TEXTS\n"
     "(height 5), its number 4 below on POINT_NUMBERS\n"
     "(height 3), as the drawing scripts; not to WGS84",
     [](const std::string& value, TCommandLine& command) {
       return MapFileName("--dxf", value, command.conversion.dxf_name);
     }},
    {"--csv", "FILE", Use::Conversion,
     "also write a table of the records (RFC 4180, UTF-8 with\n"
     "a byte-order mark): text, input and output numbers,\n"
     "WGS84 latitude and longitude, grid convergence in\n"
     "degrees and scale factor of the grid point, and the\n"
     "datum operation of a system from --system-a/-b",
     [](const std::string& value, TCommandLine& command) {
       return MapFileName("--csv", value, command.conversion.csv_name);
     }},
    {"--system-a", "SYSTEM", Use::Conversion, "fill system A from PROJ's database: a Transverse",
     [](const std::string& value, TCommandLine& command) {
       command.system_a = value;
       return std::string();
     }},
    {"--system-b", "SYSTEM", Use::Conversion,
     "Mercator grid named as PROJ names it (EPSG:31467),\n"
     "instead of --settings or on top of it",
     [](const std::string& value, TCommandLine& command) {
       command.system_b = value;
       return std::string();
     }},
    {"--near", "LAT,LON", Use::Conversion,
     "the place the systems are used at, in decimal degrees\n"
     "(50.1,8.7): each shift takes a datum operation whose\n"
     "area of use holds it, where PROJ has one; without it,\n"
     "the one covering most of the system's area",
     SetNear},
    {"--operation-3p", "CODE", Use::Conversion,
     "fill the three- or the seven-parameter shift from",
     [](const std::string& value, TCommandLine& command) {
       return OperationCode("--operation-3p", value, command.operation_3p);
     }},
    {"--operation-7p", "CODE", Use::Conversion,
     "the datum operation CODE (--list-operations lists\n"
     "them) of each system it is one of: a Helmert\n"
     "transformation gives the three-parameter shift its\n"
     "translation at the place, a translation gives the\n"
     "seven-parameter shift zero rotations and scale",
     [](const std::string& value, TCommandLine& command) {
       return OperationCode("--operation-7p", value, command.operation_7p);
     }},
    {"--write-settings", "FILE", Use::Conversion,
     "write the resulting 38-line settings record to FILE,\n"
     "with the decimal separator above, and convert nothing",
     SetWriteSettings},
    {"--describe-system", "SYSTEM", Use::Conversion,
     "print the system's name, the datum transformations\n"
     "its shifts come from with EPSG's accuracy and their\n"
     "areas of use, and its eighteen values",
     [](const std::string& value, TCommandLine& command) {
       if (value.empty()) {
         return std::string("--describe-system: the system is empty; name one, such as EPSG:31467");
       }
       command.describe_system = value;
       return std::string();
     }},
    {"--list-systems", "TEXT", Use::Conversion,
     "list the Transverse Mercator systems whose name holds\n"
     "TEXT: code, name and area of use, tab-separated",
     [](const std::string& value, TCommandLine& command) {
       command.list_systems = value;
       return std::string();
     }},
    {"--list-operations", "SYSTEM", Use::Conversion,
     "list the datum operations to WGS 84 without a grid\n"
     "the system's shifts can take: code, name, method,\n"
     "accuracy, area of use, whether it holds the place\n"
     "(--near) and the share of the system's area it\n"
     "covers, tab-separated",
     [](const std::string& value, TCommandLine& command) {
       if (value.empty()) {
         return std::string("--list-operations: the system is empty; name one, such as EPSG:31467");
       }
       command.list_operations = value;
       return std::string();
     }},
    {"--check", "CONTROL", Use::Check,
     "check grid a or b of FILE against control points. Each\n"
     "line of CONTROL holds latitude, longitude, northing and\n"
     "easting, separated by blanks or tabs, then an optional\n"
     "name; blank lines and lines starting with # are\n"
     "skipped; a line ends at LF, CR LF or CR. At most\n"
     "16 MiB, at least one point. Prints per point\n"
     "NAME<TAB>dN<TAB>dE<TAB>d, the control's grid coordinate\n"
     "minus the converted one and its length in metres, with\n"
     "a fifth field \"outlier\" for a point more than 5 times\n"
     "the median spread and 3 cm off the median residual;\n"
     "then points N<TAB>rms R<TAB>max M<TAB>outliers K, the RMS\n"
     "and maximum taken over the points not flagged",
     [](const std::string& value, TCommandLine& command) {
       if (value.empty()) return std::string("--check needs a control file name");
       command.check_path = value;
       return std::string();
     }},
    {"--grid", "a|b", Use::Check, "the grid the control coordinates are in", SetGrid},
    {"--tolerance", "METRES", Use::Check,
     "exit with status 3 when a point's residual, flagged or\n"
     "not, is longer than METRES (after --calibrate: with\n"
     "the calibrated values)",
     SetTolerance},
    {"--calibrate", "", Use::Check,
     "fit the mean horizontal residual of the points not\n"
     "flagged and remove it: with the three-parameter shift\n"
     "by corr.N and corr.E, with --seven by the smallest\n"
     "change of Tx, Ty and Tz. Horizontal control points do\n"
     "not determine the rotations, the scale or a vertical\n"
     "shift, so Rx, Ry, Rz and k stay as they are. Prints the\n"
     "table again with the calibrated values, then a line\n"
     "with them. Refused (exit status 1, nothing written)\n"
     "when ten steps do not converge or a point it used is\n"
     "still more than 1 m off: no one shift fits the points",
     [](const std::string&, TCommandLine& command) {
       command.calibrate = true;
       return std::string();
     }},
    {"--write-settings", "OUT", Use::Check,
     "with --calibrate: write the settings with the\n"
     "calibrated values to OUT unless the calibration is\n"
     "refused or a point exceeds --tolerance; OUT may be\n"
     "neither FILE nor CONTROL, which are never changed",
     SetWriteSettings},
    {"--help", "", Use::Program, "show this text",
     [](const std::string&, TCommandLine& command) {
       command.help = true;
       return std::string();
     }},
    {"--version", "", Use::Program, "print the program's name and version",
     [](const std::string&, TCommandLine& command) {
       command.version = true;
       return std::string();
     }},
};

constexpr std::string_view kHelpIntro =
    "tervela-convert converts a point file between WGS84 and the local grids A and B,\n"
    "writing the same files as \"Convert File\" in the Tervela window.\n";

// The usage lines each use's options follow; the Program options follow none.
std::string_view UsageLines(TOptionUse use) {
  switch (use) {
    case TOptionUse::Conversion:
      return "usage: tervela-convert --settings FILE --direction DIRECTION\n"
             "                       [--seven] [--scripts] [--decimal-separator C]\n"
             "                       [--geojson FILE] [--kml FILE] [--plot FILE.svg|FILE.png]\n"
             "                       [--dxf FILE] [--csv FILE] INPUT OUTPUT\n";
    case TOptionUse::Check:
      return "usage: tervela-convert --settings FILE --check CONTROL --grid a|b [--seven]\n"
             "                       [--tolerance METRES] [--calibrate [--write-settings OUT]]\n";
    case TOptionUse::Program:
      break;
  }
  return {};
}

constexpr std::string_view kHelpClosing =
    "INPUT and OUTPUT are file names; \"-\" reads standard input or writes standard\n"
    "output (no scripts then). On a terminal, a run longer than a second shows its\n"
    "progress on standard error.\n"
    "\n"
    "Exit status: 0 on success, a conversion printing nothing but the warnings for\n"
    "points more than 6 degrees from a central meridian or outside the area of\n"
    "use of a datum operation from PROJ; 1 when the\n"
    "conversion or check fails or a calibration is refused, with the reason\n"
    "printed on standard error; 2 on a usage error; 3 when a control point\n"
    "exceeds --tolerance; 141, with nothing printed, when standard output is a\n"
    "pipe whose reader has gone.\n"
    "\n"
    "example: tervela-convert --settings site.set --direction wgs-a --scripts \\\n"
    "             points.txt points-a.txt\n"
    "         tervela-convert --settings site.set --check control.txt --grid a \\\n"
    "             --calibrate --write-settings site-calibrated.set\n";

// The help's option column: two blanks, the name and its argument, then the
// text from this column on; a longer name puts the text on the next line.
constexpr std::size_t kHelpTextColumn = 25;

void AppendOptionHelp(const TOption& option, std::string& text) {
  std::string head = "  " + std::string(option.name);
  if (!option.argument.empty()) head += " " + std::string(option.argument);
  const std::string indent(kHelpTextColumn, ' ');
  text += head.size() + 2 <= kHelpTextColumn ? head + std::string(kHelpTextColumn - head.size(), ' ')
                                             : head + "\n" + indent;
  std::string_view help = option.help;
  for (std::size_t end; (end = help.find('\n')) != std::string_view::npos; help.remove_prefix(end + 1)) {
    text += std::string(help.substr(0, end)) + "\n" + indent;
  }
  text += std::string(help) + "\n";
}

}  // namespace

std::span<const TOption> Options() { return kOptions; }

const TOption* FindOption(std::string_view name) {
  for (const TOption& option : kOptions) {
    if (option.name == name) return &option;
  }
  return nullptr;
}

std::string HelpText() {
  std::string text = std::string(kHelpIntro) + "\n";
  for (const TOptionUse use : {TOptionUse::Conversion, TOptionUse::Check, TOptionUse::Program}) {
    if (const std::string_view usage = UsageLines(use); !usage.empty()) text += std::string(usage) + "\n";
    for (const TOption& option : kOptions) {
      if (option.use == use) AppendOptionHelp(option, text);
    }
    text += "\n";
  }
  return text + std::string(kHelpClosing);
}

}  // namespace tervela
