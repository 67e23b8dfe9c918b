#include "numeric_locale/decimal_separator.h"

#include <unicode/dcfmtsym.h>
#include <unicode/locid.h>

#include <cstdlib>
#include <cstring>

namespace tervela {

std::string NumericLocaleName(const char* lc_all, const char* lc_numeric, const char* lang) {
  for (const char* name : {lc_all, lc_numeric, lang}) {
    if (name != nullptr && name[0] != '\0') return name;
  }
  return "C";
}

char DecimalSeparatorOf(std::string_view name) {
  // language[_territory][.codeset][@modifier]: ICU needs language and
  // territory only.
  const std::string language_territory(name.substr(0, name.find_first_of(".@")));
  if (language_territory.empty() || language_territory == "C" || language_territory == "POSIX") {
    return '.';
  }
  const icu::Locale locale(language_territory.c_str());
  UErrorCode status = U_ZERO_ERROR;
  const icu::DecimalFormatSymbols symbols(locale, status);
  if (U_FAILURE(status)) return '.';
  // For a language it has no data for, ICU falls back to its default locale,
  // which says nothing of this name.
  const icu::Locale found = symbols.getLocale(ULOC_VALID_LOCALE, status);
  if (U_FAILURE(status) || std::strcmp(found.getLanguage(), locale.getLanguage()) != 0) return '.';
  const icu::UnicodeString& separator =
      symbols.getConstSymbol(icu::DecimalFormatSymbols::kDecimalSeparatorSymbol);
  if (separator.length() != 1) return '.';
  const char16_t first = separator.charAt(0);
  return first > u' ' && first < 0x7F ? static_cast<char>(first) : '.';
}

char EnvironmentDecimalSeparator() {
  return DecimalSeparatorOf(
      NumericLocaleName(std::getenv("LC_ALL"), std::getenv("LC_NUMERIC"), std::getenv("LANG")));
}

}  // namespace tervela
