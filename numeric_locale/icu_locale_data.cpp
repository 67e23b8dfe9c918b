// The decimal separator from ICU's locale data, for the locale the
// environment names (POSIX systems).

#include <unicode/uloc.h>
#include <unicode/unum.h>
#include <unicode/uvernum.h>

#include <cstdlib>
#include <string>

#include "common/runtime_library.h"
#include "numeric_locale/decimal_separator.h"
#include "numeric_locale/locale_parts.h"

namespace tervela {

namespace {

// The functions of ICU's C API that finding a separator calls. ICU is loaded
// only when a locale's separator must be found: its libraries and data cost
// every run that does not need them time and memory. uloc_getLanguage lies in
// libicuuc, which libicui18n brings.
#define TERVELA_ICU_FUNCTIONS(X) \
  X(unum_open) \
  X(unum_close) \
  X(unum_getSymbol) \
  X(unum_getLocaleByType) \
  X(uloc_getLanguage)

// One pointer per function. ICU's headers rename each to its versioned symbol
// (unum_open to unum_open_72), here as at the call.
struct IcuLibrary {
#define TERVELA_ICU_POINTER(name) decltype(&::name) name = nullptr;
  TERVELA_ICU_FUNCTIONS(TERVELA_ICU_POINTER)
#undef TERVELA_ICU_POINTER
};

const RuntimeFunctions<IcuLibrary>& Icu() {
  static const RuntimeFunctions<IcuLibrary> loaded = LoadRuntimeFunctions<IcuLibrary>(
      "ICU", "libicui18n.so." TERVELA_STRING(U_ICU_VERSION_MAJOR_NUM),
      [](RuntimeLibrary& library, IcuLibrary& functions) {
#define TERVELA_ICU_RESOLVE(name) TERVELA_FIND_FUNCTION(library, functions, name, name);
        TERVELA_ICU_FUNCTIONS(TERVELA_ICU_RESOLVE)
#undef TERVELA_ICU_RESOLVE
      });
  return loaded;
}

// The language part of an ICU locale id ("de" of "de_AT"); empty on failure.
std::string Language(const IcuLibrary& icu, const char* locale) {
  char language[ULOC_LANG_CAPACITY] = {};
  UErrorCode status = U_ZERO_ERROR;
  icu.uloc_getLanguage(locale, language, sizeof language, &status);
  return U_SUCCESS(status) && status != U_STRING_NOT_TERMINATED_WARNING ? language : "";
}

// The decimal separator of `format`, opened for a locale of `language`; a
// point where it is not one printable ASCII character, and where ICU fell
// back to its default locale for a language it has no data for (which says
// nothing of the locale asked for).
char FormatSeparator(const IcuLibrary& icu, const UNumberFormat* format, const std::string& language) {
  UErrorCode status = U_ZERO_ERROR;
  const char* const found = icu.unum_getLocaleByType(format, ULOC_VALID_LOCALE, &status);
  if (U_FAILURE(status) || found == nullptr || language.empty() || Language(icu, found) != language) return '.';
  UChar symbol[4];
  const int32_t length = icu.unum_getSymbol(format, UNUM_DECIMAL_SEPARATOR_SYMBOL, symbol, 4, &status);
  if (U_FAILURE(status) || length != 1) return '.';
  return PrintableSeparator(symbol[0]);
}

}  // namespace

char DecimalSeparatorOf(std::string_view name) {
  // ICU needs language and territory only.
  const std::string language_territory = LanguageTerritory(name);
  if (language_territory.empty()) return '.';
  // Without ICU's data nothing is known of the locale.
  if (!Icu().failure.empty()) return '.';
  const IcuLibrary& icu = Icu().functions;
  UErrorCode status = U_ZERO_ERROR;
  UNumberFormat* const format =
      icu.unum_open(UNUM_DECIMAL, nullptr, 0, language_territory.c_str(), nullptr, &status);
  if (U_FAILURE(status)) return '.';
  const char separator = FormatSeparator(icu, format, Language(icu, language_territory.c_str()));
  icu.unum_close(format);
  return separator;
}

char EnvironmentDecimalSeparator() {
  return DecimalSeparatorOf(
      NumericLocaleName(std::getenv("LC_ALL"), std::getenv("LC_NUMERIC"), std::getenv("LANG")));
}

}  // namespace tervela
