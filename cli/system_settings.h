#pragma once

#include <string>

#include "cli/command_line.h"
#include "common/result.h"
#include "settings/settings_record.h"

namespace tervela {

// The settings record a command works with: the --settings record when given
// (its missing lines empty otherwise), with systems A and B replaced by those
// --system-a and --system-b fill from PROJ's database, their texts written
// with `decimal_separator`. The first failure ends it; a refused system
// leaves nothing written. A conversion by the three-parameter shift refuses
// a system that has none. `operations`, when given, receives the datum
// operations of the systems filled that the conversion uses
// (RunOperationsText).
Result<TSettingsTexts> CommandSettings(const TCommandLine& command, char decimal_separator,
                                       std::string* operations = nullptr);

// Writes the record a command built (`settings`, its systems' texts read
// with `decimal_separator`) to `path` for --write-settings, once every system
// that holds a text reads whole with that one separator: a record that mixes
// separators loads under neither. Else nothing is written and the error is
// that of the first text that does not read, placed at its line of
// `settings_path`.
Status WriteCommandSettings(const std::string& path, const TSettingsTexts& settings, char decimal_separator,
                            const std::string& settings_path);

// The --describe-system and --list-systems texts, ready for standard output.
Result<std::string> DescribeSystemText(const std::string& code, char decimal_separator);
Result<std::string> SystemListText(const std::string& text);

}  // namespace tervela
