#pragma once

#include <optional>
#include <string>

#include "cli/command_line.h"

namespace tervela {

// The options of the control-point check: --check CONTROL, --grid a|b,
// --tolerance METRES, --calibrate (whose record --write-settings writes).

// True for the control options that take a value.
bool IsControlValueOption(const std::string& argument);

// Applies `argument` (with its `value`) to `command` when it is a control
// option. Returns unset for any other option, otherwise the usage error
// ("" when the option is usable).
std::optional<std::string> ApplyControlOption(const std::string& argument,
                                              const std::optional<std::string>& value,
                                              TCommandLine& command);

// The usage error of a complete command line as far as the control options
// go, "" when there is none: --check needs --grid and takes neither
// --direction, --scripts nor files; the other control options need --check;
// with --check, --write-settings needs --calibrate.
std::string ControlUsageError(const TCommandLine& command, bool direction_given,
                              std::size_t file_count);

}  // namespace tervela
