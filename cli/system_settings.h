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

// The --describe-system and --list-systems texts, ready for standard output.
Result<std::string> DescribeSystemText(const std::string& code, char decimal_separator);
Result<std::string> SystemListText(const std::string& text);

}  // namespace tervela
