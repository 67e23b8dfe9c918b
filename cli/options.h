#pragma once

#include <span>
#include <string>
#include <string_view>

namespace tervela {

struct TCommandLine;

// The uses of tervela-convert; --help lists each use's options after its
// usage lines, in the table's order.
enum class TOptionUse { Conversion, Check, Program };

// One option of the command line: what the parser accepts and what --help
// says of it. An option that serves two uses (--write-settings) has a row for
// each, with the same action.
struct TOption {
  std::string_view name;      // "--settings"
  std::string_view argument;  // the value's name in the help ("FILE"); empty for a flag
  TOptionUse use;
  // The help's lines after the name column, '\n' between them. Two options
  // that share one paragraph (--system-a and --system-b) split it at a line.
  std::string_view help;
  // Applies the option (with its value, "" for a flag) to `command`; returns
  // the usage error, "" when the option is usable.
  std::string (*apply)(const std::string& value, TCommandLine& command);
};

// Every option, in the order --help lists them.
std::span<const TOption> Options();

// The option row named `name`, or null for an unknown option.
const TOption* FindOption(std::string_view name);

// The full --help text.
std::string HelpText();

}  // namespace tervela
