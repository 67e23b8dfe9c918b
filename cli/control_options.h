#pragma once

#include <string>

#include "cli/command_line.h"

namespace tervela {

// The usage error of a complete command line as far as the control-point
// check's options (--check, --grid, --tolerance, --calibrate) go, "" when
// there is none: --check needs --grid and takes neither --direction,
// --scripts nor files; the other control options need --check; with --check,
// --write-settings needs --calibrate.
std::string ControlUsageError(const TCommandLine& command, std::size_t file_count);

}  // namespace tervela
