// The decimal separator from Windows' own locale data: the user's regional
// settings for the program, the named locale's defaults for a name. No ICU.

#include <windows.h>

#include <string>

#include "numeric_locale/decimal_separator.h"
#include "numeric_locale/locale_parts.h"

namespace tervela {

namespace {

// LOCALE_SDECIMAL of `locale` ("hr-HR", or LOCALE_NAME_USER_DEFAULT), when
// it is one character.
char SeparatorOfLocale(const wchar_t* locale) {
  wchar_t separator[4] = {};
  // The count includes the terminating NUL.
  if (::GetLocaleInfoEx(locale, LOCALE_SDECIMAL, separator, 4) != 2) return '.';
  return PrintableSeparator(static_cast<char16_t>(separator[0]));
}

}  // namespace

char DecimalSeparatorOf(std::string_view name) {
  const std::string language_territory = LanguageTerritory(name);
  if (language_territory.empty()) return '.';
  // Windows names it language-territory.
  std::wstring locale;
  for (const char c : language_territory) locale.push_back(c == '_' ? L'-' : static_cast<unsigned char>(c));
  // A name Windows does not know is refused, not taken for the user's locale.
  if (!::IsValidLocaleName(locale.c_str())) return '.';
  return SeparatorOfLocale(locale.c_str());
}

char EnvironmentDecimalSeparator() { return SeparatorOfLocale(LOCALE_NAME_USER_DEFAULT); }

}  // namespace tervela
