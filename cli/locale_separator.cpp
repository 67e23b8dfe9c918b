#include "cli/locale_separator.h"

#include <clocale>

namespace tervela {

char LocaleDecimalSeparator() {
  char separator = '.';
  if (std::setlocale(LC_ALL, "") != nullptr) {
    const char* point = std::localeconv()->decimal_point;
    if (point != nullptr && point[0] != '\0') separator = point[0];
  }
  // Nothing else in the program depends on the locale.
  std::setlocale(LC_ALL, "C");
  return separator;
}

}  // namespace tervela
