// The decimal separator from ICU's locale data, for the locale the
// environment names (POSIX systems).

#include "numeric_locale/decimal_separator.h"

#include <unicode/dcfmtsym.h>
#include <unicode/locid.h>

#include <cstdlib>
#include <cstring>

#include "numeric_locale/locale_parts.h"

namespace tervela {

char DecimalSeparatorOf(std::string_view name) {
  // ICU needs language and territory only.
  const std::string language_territory = LanguageTerritory(name);
  if (language_territory.empty()) return '.';
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
  return PrintableSeparator(separator.charAt(0));
}

char EnvironmentDecimalSeparator() {
  return DecimalSeparatorOf(
      NumericLocaleName(std::getenv("LC_ALL"), std::getenv("LC_NUMERIC"), std::getenv("LANG")));
}

}  // namespace tervela
