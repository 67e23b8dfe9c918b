// tervela-convert: the point-file conversion of the window, from the command
// line, for scripted and large jobs.

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "batch/point_file_run.h"
#include "cli/command_line.h"
#include "cli/console.h"
#include "cli/control_command.h"
#include "cli/options.h"
#include "cli/progress_line.h"
#include "cli/system_settings.h"
#include "cli/terminal_text.h"
#include "io/files.h"
#include "numeric_locale/decimal_separator.h"
#include "program_info/program_info.h"

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
// The status a POSIX shell reports for a program stopped by SIGPIPE (13),
// on Windows too.
constexpr int kExitBrokenPipe = 128 + 13;

// Every message goes out escaped: it may quote the bytes of a settings text or
// of an argument.
void PrintMessage(const std::string& message) {
  std::fputs((tervela::EscapeControlCharacters(message) + "\n").c_str(), stderr);
}

// An error of a record, a settings line or a file named by a run names its
// place, as compilers do.
void PrintError(const tervela::Error& error) {
  const bool placed = error.line() != 0 || !error.file().empty();
  PrintMessage(placed ? "tervela-convert: " + error.PlacedText() : error.BoxText());
}

// Reads the settings record and converts; the first failure ends the run.
// `warnings` counts what the points converted call for.
tervela::Status Convert(const tervela::TCommandLine& command, tervela::RunWarnings& warnings) {
  const char separator = command.decimal_separator.value_or(tervela::EnvironmentDecimalSeparator());
  tervela::TFileConversion request = command.conversion;
  tervela::TUsedOperations used;
  const tervela::Result<tervela::TSettingsTexts> record = tervela::CommandSettings(command, separator, &used);
  if (!record) return record.error();
  request.csv_operation = used.text;
  for (auto& [system, area] : used.areas) warnings.Watch(system, std::move(area));
  const tervela::TSettingsTexts& settings = record.value();
  if (!command.write_settings_path.empty()) {
    return tervela::WriteCommandSettings(command.write_settings_path, settings, separator, command.settings_path);
  }

  tervela::TRunEndpoints endpoints;
  if (request.input_name == "-") endpoints.input_fd = STDIN_FILENO;
  if (request.output_name == "-") endpoints.output_fd = STDOUT_FILENO;
  endpoints.settings_name = command.settings_path;
  endpoints.warnings = &warnings;
  std::optional<tervela::ProgressLine> progress;
  if (::isatty(STDERR_FILENO)) {
    progress.emplace(endpoints.input_fd >= 0 ? tervela::io::RegularFileSize(endpoints.input_fd)
                                             : tervela::io::RegularFileSize(request.input_name));
    endpoints.observer = &*progress;
  }

  const tervela::TRecordSystems systems =
      tervela::ReadRecordSystems(settings, separator, command.settings_path);
  const tervela::Status status = tervela::ConvertPointFile(request, systems, endpoints);
  if (progress) progress->Clear();
  return status;
}

// Checks a grid against control points and prints the tables.
int Check(const tervela::TCommandLine& command) {
  const char separator = command.decimal_separator.value_or(tervela::EnvironmentDecimalSeparator());
  const tervela::Result<tervela::TSettingsTexts> settings = tervela::CommandSettings(command, separator);
  if (!settings) {
    PrintError(settings.error());
    return kExitFailure;
  }
  const tervela::Result<tervela::TControlCommandOutput> output =
      tervela::RunControlCommand(command, settings.value(), separator);
  if (!output) {
    PrintError(output.error());
    return kExitFailure;
  }
  if (std::fputs(output.value().text.c_str(), stdout) < 0 || std::fflush(stdout) != 0) {
    return errno == EPIPE ? kExitBrokenPipe : kExitFailure;
  }
  if (!output.value().message.empty()) {
    PrintMessage("tervela-convert: " + tervela::ErrorBoxText(output.value().message));
  }
  if (output.value().calibration_refused) return kExitFailure;
  return output.value().beyond_tolerance ? tervela::kExitBeyondTolerance : 0;
}

int Main(const std::vector<std::string>& arguments) {
  const tervela::TCommandLineParse parse = tervela::ParseCommandLine(arguments);
  if (!parse.usage_error.empty()) {
    PrintMessage("tervela-convert: " + parse.usage_error);
    std::fputs(tervela::kUsageText, stderr);
    return kExitUsage;
  }
  if (parse.command.help) {
    std::fputs(tervela::HelpText().c_str(), stdout);
    return 0;
  }
  if (parse.command.version) {
    std::printf("tervela-convert %s\n", tervela::kProgramVersion);
    return 0;
  }
  const tervela::TCommandLine& command = parse.command;
  if (!command.describe_system.empty() || command.list_systems || !command.list_operations.empty()) {
    const tervela::Result<std::string> text =
        !command.list_operations.empty() ? tervela::OperationListText(command)
        : command.list_systems
            ? tervela::SystemListText(*command.list_systems)
            : tervela::DescribeSystemText(command, command.decimal_separator.value_or(
                                                       tervela::EnvironmentDecimalSeparator()));
    if (!text) {
      PrintMessage(text.error().BoxText());
      return kExitFailure;
    }
    std::fputs(text.value().c_str(), stdout);
    return 0;
  }
  if (!parse.command.check_path.empty()) return Check(parse.command);
  tervela::RunWarnings warnings;
  const tervela::Status status = Convert(parse.command, warnings);
  // A reader of standard output that went away (`... - | head`) wants no more.
  if (!status && parse.command.conversion.output_name == "-" &&
      status.error().errno_value() == EPIPE) {
    return kExitBrokenPipe;
  }
  // What holds for the points converted, before the error that ended the run.
  for (const std::string& text : warnings.Texts()) {
    PrintMessage("tervela-convert: warning: " + text);
  }
  if (status) return 0;
  PrintError(status.error());
  return kExitFailure;
}

}  // namespace

int main(int argc, char** argv) {
  const tervela::ConsoleSession console;
  try {
    return Main(tervela::CommandLineArguments(argc, argv));
  } catch (const std::exception& exception) {
    PrintMessage(tervela::Error::FromException(exception).BoxText());
    return kExitFailure;
  }
}
