#pragma once

#include <string>
#include <string_view>

namespace tervela {

// The locale name that the C library takes for numbers: the first of LC_ALL,
// LC_NUMERIC and LANG that is set and not empty, else "C". Arguments may be
// null (unset).
std::string NumericLocaleName(const char* lc_all, const char* lc_numeric, const char* lang);

// The decimal separator of the locale `name` ("hr_HR.UTF-8", "de_AT@euro",
// "C"), from the locale data of ICU (on Windows, Windows' own), so that it
// does not depend on which locales the C library has installed. A point for
// "C" and "POSIX", for a locale without data, and where the separator is not
// one printable ASCII character (only such a one can be matched byte for byte
// in the typed texts).
char DecimalSeparatorOf(std::string_view name);

// The separator both the window and tervela-convert parse the Settings page
// texts with: on Windows, that of the user's regional settings; elsewhere
// DecimalSeparatorOf(NumericLocaleName(...)) for this process's environment.
char EnvironmentDecimalSeparator();

}  // namespace tervela
