#include "cli/control_options.h"

#include <cmath>

#include "common/number_text.h"

namespace tervela {

bool IsControlValueOption(const std::string& argument) {
  return argument == "--check" || argument == "--grid" || argument == "--tolerance";
}

std::optional<std::string> ApplyControlOption(const std::string& argument,
                                              const std::optional<std::string>& value,
                                              TCommandLine& command) {
  if (argument == "--check") {
    if (value->empty()) return "--check needs a control file name";
    command.check_path = *value;
  } else if (argument == "--grid") {
    if (*value != "a" && *value != "b") return "unknown grid '" + QuotedText(*value) + "'";
    command.check_grid = *value == "a" ? TLocalSystem::A : TLocalSystem::B;
  } else if (argument == "--tolerance") {
    const Result<double> metres = ParseTypedNumber(*value, '.');
    if (!metres || !(metres.value() >= 0)) return "--tolerance needs a length in metres";
    command.tolerance = metres.value();
  } else if (argument == "--calibrate") {
    command.calibrate = true;
  } else {
    return std::nullopt;
  }
  return std::string();
}

std::string ControlUsageError(const TCommandLine& command, bool direction_given,
                              std::size_t file_count) {
  if (command.check_path.empty()) {
    if (command.check_grid || command.tolerance || command.calibrate) {
      return "--grid, --tolerance and --calibrate need --check";
    }
    return {};
  }
  if (!command.check_grid) return "--check needs --grid a|b";
  if (direction_given || command.conversion.scripts || file_count != 0) {
    return "--check takes no --direction, --scripts, INPUT or OUTPUT";
  }
  if (!command.write_settings_path.empty() && !command.calibrate) {
    return "--write-settings needs --calibrate";
  }
  return {};
}

}  // namespace tervela
