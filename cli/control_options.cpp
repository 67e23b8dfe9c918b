#include "cli/control_options.h"

namespace tervela {

std::string ControlUsageError(const TCommandLine& command, std::size_t file_count) {
  if (command.check_path.empty()) {
    if (command.check_grid || command.tolerance || command.calibrate) {
      return "--grid, --tolerance and --calibrate need --check";
    }
    return {};
  }
  if (!command.check_grid) return "--check needs --grid a|b";
  if (command.direction_given || command.conversion.scripts || file_count != 0) {
    return "--check takes no --direction, --scripts, INPUT or OUTPUT";
  }
  if (!command.write_settings_path.empty() && !command.calibrate) {
    return "--write-settings needs --calibrate";
  }
  return {};
}

}  // namespace tervela
