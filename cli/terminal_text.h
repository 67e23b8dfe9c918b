#pragma once

#include <string>
#include <string_view>

namespace tervela {

// A message as the command line prints it, so that no byte of it can steer the
// terminal: the control characters (below 0x20, 0x7F, and 0x80-0x9F outside a
// well-formed UTF-8 sequence; NUL included) are written as escapes ("\t",
// "\n", "\r", otherwise "\x1b"); every other byte is kept.
std::string EscapeControlCharacters(std::string_view text);

}  // namespace tervela
