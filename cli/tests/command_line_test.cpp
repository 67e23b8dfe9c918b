#include "cli/command_line.h"
#include "cli/progress_line.h"
#include "cli/terminal_text.h"
#include "test_support/case_name.h"

#include <gtest/gtest.h>

#include <vector>

namespace tervela {
namespace {

TCommandLineParse Parse(std::vector<std::string> arguments) { return ParseCommandLine(arguments); }

TEST(CommandLine, ReadsEveryOption) {
  const TCommandLineParse parse = Parse({"--settings", "site.set", "--direction=b-a", "--seven", "--scripts",
                                         "--decimal-separator", ",", "--geojson", "p.geojson", "--kml=p.kml",
                                         "--plot", "p.svg", "--dxf", "p.dxf", "--csv=p.csv", "in.txt", "out.txt"});
  ASSERT_EQ(parse.usage_error, "");
  const TCommandLine& command = parse.command;
  EXPECT_EQ(command.settings_path, "site.set");
  EXPECT_EQ(command.conversion.direction, TConversionDirection::BToA);
  EXPECT_EQ(command.conversion.method, TShiftMethod::SevenParameter);
  EXPECT_TRUE(command.conversion.scripts);
  EXPECT_EQ(command.decimal_separator, ',');
  EXPECT_EQ(command.conversion.input_name, "in.txt");
  EXPECT_EQ(command.conversion.output_name, "out.txt");
  EXPECT_EQ(command.conversion.geojson_name, "p.geojson");
  EXPECT_EQ(command.conversion.kml_name, "p.kml");
  EXPECT_EQ(command.conversion.plot_name, "p.svg");
  EXPECT_EQ(command.conversion.dxf_name, "p.dxf");
  EXPECT_EQ(command.conversion.csv_name, "p.csv");
}

TEST(CommandLine, DirectionNames) {
  const std::vector<std::pair<std::string, TConversionDirection>> names = {
      {"wgs-a", TConversionDirection::WgsToA}, {"wgs-b", TConversionDirection::WgsToB},
      {"a-wgs", TConversionDirection::AToWgs}, {"b-wgs", TConversionDirection::BToWgs},
      {"a-b", TConversionDirection::AToB},     {"b-a", TConversionDirection::BToA}};
  for (const auto& [name, direction] : names) {
    const TCommandLineParse parse = Parse({"--settings", "s", "--direction", name, "-", "-"});
    EXPECT_EQ(parse.usage_error, "") << name;
    EXPECT_EQ(parse.command.conversion.direction, direction) << name;
    EXPECT_EQ(parse.command.conversion.method, TShiftMethod::ThreeParameter);
    EXPECT_FALSE(parse.command.decimal_separator.has_value());
  }
}

struct UsageCase {
  std::vector<std::string> arguments;
  std::string error;
};

class UsageErrors : public ::testing::TestWithParam<UsageCase> {};

TEST_P(UsageErrors, AreDescribed) { EXPECT_EQ(Parse(GetParam().arguments).usage_error, GetParam().error); }

INSTANTIATE_TEST_SUITE_P(
    CommandLine, UsageErrors,
    ::testing::Values(
        UsageCase{{"--direction", "wgs-a", "in", "out"}, "--settings FILE is required"},
        UsageCase{{"--settings", "s", "in", "out"}, "--direction is required"},
        UsageCase{{"--settings", "s", "--direction", "wgs-c", "in", "out"}, "unknown direction 'wgs-c'"},
        UsageCase{{"--settings", "s", "--direction", "a-b", "in"}, "INPUT and OUTPUT are required"},
        UsageCase{{"--settings", "s", "--direction", "a-b", "a", "b", "c"}, "INPUT and OUTPUT are required"},
        UsageCase{{"--settings", "s", "--direction", "a-b", "--fast", "a", "b"}, "unknown option --fast"},
        UsageCase{{"--settings", "s", "--direction", "a-b", "--seven=yes", "a", "b"}, "--seven takes no value"},
        UsageCase{{"--settings", "s", "--direction", "a-b", "a", "b", "--decimal-separator"},
                  "--decimal-separator needs a value"},
        UsageCase{{"--settings", "s", "--direction", "a-b", "--decimal-separator", ",.", "a", "b"},
                  "--decimal-separator needs a single character"},
        UsageCase{{"--settings", "s", "--direction", "a-b", "--decimal-separator", "3", "a", "b"},
                  "--decimal-separator must be a point or a comma, not '3'"},
        UsageCase{{"--settings", "s", "--direction", "a-b", "--decimal-separator=e", "a", "b"},
                  "--decimal-separator must be a point or a comma, not 'e'"},
        UsageCase{{"--settings", "s", "--direction", "a-b", "--decimal-separator", "+", "a", "b"},
                  "--decimal-separator must be a point or a comma, not '+'"},
        UsageCase{{"--settings", "s", "--direction", "a-b", "--decimal-separator", " ", "a", "b"},
                  "--decimal-separator must be a point or a comma, not ' '"},
        UsageCase{{"--settings", "s", "--direction", "a-b", "--scripts", "a", "-"},
                  "--scripts needs an OUTPUT file name, not \"-\""},
        UsageCase{{"--system-a", "EPSG:31467", "--write-settings", "s", "--direction", "a-b"},
                  "--write-settings converts nothing"},
        UsageCase{{"--describe-system", "EPSG:31467", "a"}, "--describe-system and --list-systems take no INPUT or OUTPUT"},
        UsageCase{{"--describe-system", ""}, "--describe-system: the system is empty; name one, such as EPSG:31467"},
        UsageCase{{"--system-a", "EPSG:23033", "--direction", "a-b", "in", "out"},
                  "system B is needed: give --system-b SYSTEM or --settings FILE"},
        UsageCase{{"--system-b", "EPSG:23033", "--check", "c", "--grid", "a"},
                  "system A is needed: give --system-a SYSTEM or --settings FILE"},
        UsageCase{{"--settings", "s", "--check", "c.txt"}, "--check needs --grid a|b"},
        UsageCase{{"--settings", "s", "--check", "c.txt", "--grid", "a", "in", "out"},
                  "--check takes no --direction, --scripts, INPUT or OUTPUT"},
        UsageCase{{"--settings", "s", "--check", "c", "--grid=a", "--write-settings", "o"},
                  "--write-settings needs --calibrate"},
        UsageCase{{"--settings", "s", "--direction", "a-b", "--calibrate", "a", "b"},
                  "--grid, --tolerance and --calibrate need --check"},
        UsageCase{{"--settings", "s", "--check", "c", "--grid=a", "--tolerance", "-1"},
                  "--tolerance needs a length in metres"},
        UsageCase{{"--settings", "s", "--direction", "a-b", "--kml", "-", "a", "b"}, "--kml needs a file name"},
        UsageCase{{"--settings", "s", "--direction", "a-b", "--plot=", "a", "b"}, "--plot needs a file name"},
        UsageCase{{"--settings", "s", "--direction", "a-b", "--csv", "-", "a", "b"}, "--csv needs a file name"},
        UsageCase{{"--settings", "s", "--near", "50,9", "--direction", "a-b", "a", "b"},
                  "--near needs --system-a, --system-b, --describe-system or --list-operations"},
        UsageCase{{"--system-a", "EPSG:31467", "--near", "50", "--write-settings", "s"},
                  "--near needs LAT,LON in decimal degrees, such as 50.1,8.7"},
        UsageCase{{"--describe-system", "EPSG:31467", "--near=50,9,1"},
                  "--near needs LAT,LON in decimal degrees, such as 50.1,8.7"},
        UsageCase{{"--list-operations", "EPSG:31467", "--near", "9,190"},
                  "--near: the latitude lies from -90 to 90 and the longitude from -180 to 180"},
        UsageCase{{"--list-operations", "EPSG:31467", "--operation-3p", "EPSG:1777"},
                  "--operation-3p and --operation-7p need --system-a, --system-b or --describe-system"},
        UsageCase{{"--system-a", "EPSG:31467", "--operation-7p=", "--write-settings", "s"},
                  "--operation-7p needs an operation's code, such as EPSG:1777"},
        UsageCase{{"--list-operations", "EPSG:31467", "a"}, "--list-operations takes no INPUT or OUTPUT"},
        UsageCase{{"--settings", "s", "--direction", std::string(90, 'w'), "a", "b"},
                  "unknown direction '" + std::string(80, 'w') + "...'"}),
    [](const auto& info) { return testing::CaseName(info.index, info.param.error); });

TEST(CommandLine, DoubleDashEndsOptions) {
  const TCommandLineParse parse = Parse({"--settings", "s", "--direction", "a-b", "--", "-in", "--out"});
  ASSERT_EQ(parse.usage_error, "");
  EXPECT_EQ(parse.command.conversion.input_name, "-in");
  EXPECT_EQ(parse.command.conversion.output_name, "--out");
}

TEST(CommandLine, MessagesEscapeControlCharactersOnly) {
  const std::pair<std::string, std::string> printed[] = {
      {"\x1b]0;title\x07\x1b[2J", "\\x1b]0;title\\x07\\x1b[2J"},
      {std::string("a\0\tb\r\n\x7f", 7), "a\\x00\\tb\\r\\n\\x7f"},
      {"C1 \x9b, lone \xc2 and Latin-1 \xe8", "C1 \\x9b, lone \xc2 and Latin-1 \xe8"},
      {"UTF-8 \xc2\x9b and \xc3\xa8, 'quotes' \\ kept", "UTF-8 \xc2\x9b and \xc3\xa8, 'quotes' \\ kept"},
      {"\xe2\x82\x9b \xf0\x9f\x98\x80 cut \xf0\x9f\x98", "\xe2\x82\x9b \xf0\x9f\x98\x80 cut \xf0\\x9f\\x98"}};
  for (const auto& [text, escaped] : printed) EXPECT_EQ(EscapeControlCharacters(text), escaped);
}

TEST(ProgressLine, TextForByteCounts) {
  const struct {
    std::uint64_t bytes, points;
    std::optional<std::uint64_t> size;
    const char* text;
  } lines[] = {{0, 0, std::nullopt, "\rConverting: 0.0 MB read, 0 points"},
               {1'260'000, 42, std::nullopt, "\rConverting: 1.3 MB read, 42 points"},
               {123'456'789'012, 9, 0, "\rConverting: 123456.8 MB read, 9 points"},
               {1'500'000, 7, 6'000'000, "\rConverting:  25% (1.5 of 6.0 MB read, 7 points)"},
               {6'000'000, 70, 6'000'000, "\rConverting: 100% (6.0 of 6.0 MB read, 70 points)"}};
  for (const auto& line : lines) EXPECT_EQ(ProgressText(line.bytes, line.points, line.size), line.text);
}

TEST(CommandLine, HelpAndVersionNeedNothingElse) {
  EXPECT_TRUE(Parse({"--help"}).command.help);
  EXPECT_TRUE(Parse({"--seven", "--version", "in"}).command.version);
}

}  // namespace
}  // namespace tervela
