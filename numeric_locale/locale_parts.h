#pragma once

// What every source of locale data shares. Internal to numeric_locale/.

#include <string>
#include <string_view>

namespace tervela {

// The language and territory of a locale name in the C library's form,
// language[_territory][.codeset][@modifier]; empty for "C" and "POSIX",
// whose separator is a point.
inline std::string LanguageTerritory(std::string_view name) {
  std::string language_territory(name.substr(0, name.find_first_of(".@")));
  if (language_territory == "C" || language_territory == "POSIX") return {};
  return language_territory;
}

// A locale's separator character as the program uses it: itself where it is
// one printable ASCII character (only such a one can be matched byte for byte
// in the typed texts), else a point.
inline char PrintableSeparator(char16_t separator) {
  return separator > u' ' && separator < 0x7F ? static_cast<char>(separator) : '.';
}

}  // namespace tervela
