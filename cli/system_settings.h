#pragma once

#include <string>
#include <utility>
#include <vector>

#include "batch/run_warnings.h"
#include "cli/command_line.h"
#include "common/result.h"
#include "settings/settings_record.h"
#include "systems/projected_system.h"

namespace tervela {

// The place and the operations the command asks of the systems it fills.
TOperationChoice OperationChoice(const TCommandLine& command);

// What a conversion learns of the systems it fills from PROJ and uses.
struct TUsedOperations {
  std::string text;  // RunOperationsText, for the CSV table
  // The area of use of the operation each one's shift applies, where known.
  std::vector<std::pair<TLocalSystem, TOperationArea>> areas;
};

// The settings record a command works with: the --settings record when given
// (its missing lines empty otherwise), with systems A and B replaced by those
// --system-a and --system-b fill from PROJ's database (OperationChoice),
// their texts written with `decimal_separator`. The first failure ends it; a
// refused system, or an operation code no system filled has, leaves nothing
// written. `used`, when given, learns of the systems filled that the
// conversion uses.
Result<TSettingsTexts> CommandSettings(const TCommandLine& command, char decimal_separator,
                                       TUsedOperations* used = nullptr);

// Writes the record a command built (`settings`, its systems' texts read
// with `decimal_separator`) to `path` for --write-settings, once every system
// that holds a text reads whole with that one separator: a record that mixes
// separators loads under neither. Else nothing is written and the error is
// that of the first text that does not read, placed at its line of
// `settings_path`.
Status WriteCommandSettings(const std::string& path, const TSettingsTexts& settings, char decimal_separator,
                            const std::string& settings_path);

// The --describe-system, --list-operations and --list-systems texts, ready
// for standard output.
Result<std::string> DescribeSystemText(const TCommandLine& command, char decimal_separator);
Result<std::string> OperationListText(const TCommandLine& command);
Result<std::string> SystemListText(const std::string& text);

}  // namespace tervela
