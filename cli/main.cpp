// tervela-convert: the point-file conversion of the window, from the command
// line, for scripted and large jobs.

#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "batch/point_file_run.h"
#include "cli/command_line.h"
#include "cli/locale_separator.h"
#include "cli/progress_line.h"
#include "io/files.h"
#include "program_info/program_info.h"

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

void Print(std::FILE* stream, const std::string& text) { std::fputs(text.c_str(), stream); }

int Run(const tervela::TCommandLine& command) {
  const char separator = command.decimal_separator.value_or(tervela::LocaleDecimalSeparator());
  tervela::TSettingsTexts settings;
  if (tervela::Status read = tervela::ReadSettingsRecord(command.settings_path, settings); !read) {
    Print(stderr, read.error().BoxText() + "\n");
    return kExitFailure;
  }

  const tervela::TFileConversion& request = command.conversion;
  tervela::TRunEndpoints endpoints;
  if (request.input_name == "-") endpoints.input_fd = STDIN_FILENO;
  if (request.output_name == "-") endpoints.output_fd = STDOUT_FILENO;
  std::optional<tervela::ProgressLine> progress;
  if (::isatty(STDERR_FILENO)) {
    progress.emplace(endpoints.input_fd >= 0 ? tervela::io::RegularFileSize(endpoints.input_fd)
                                             : tervela::io::RegularFileSize(request.input_name));
    endpoints.observer = &*progress;
  }

  tervela::TEngineRecords engine;
  const tervela::Status status = tervela::ConvertPointFile(request, settings, separator, engine, endpoints);
  if (progress) progress->Clear();
  if (!status) {
    Print(stderr, status.error().BoxText() + "\n");
    return kExitFailure;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // A closed pipe on the output is reported as a write error, not a signal.
  std::signal(SIGPIPE, SIG_IGN);
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  const tervela::TCommandLineParse parse = tervela::ParseCommandLine(arguments);
  if (!parse.usage_error.empty()) {
    Print(stderr, "tervela-convert: " + parse.usage_error + "\n" + tervela::kUsageText);
    return kExitUsage;
  }
  if (parse.command.help) {
    Print(stdout, tervela::kHelpText);
    return 0;
  }
  if (parse.command.version) {
    Print(stdout, std::string("tervela-convert ") + tervela::kProgramVersion + "\n");
    return 0;
  }
  return Run(parse.command);
}
