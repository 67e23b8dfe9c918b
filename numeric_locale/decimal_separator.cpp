#include "numeric_locale/decimal_separator.h"

namespace tervela {

std::string NumericLocaleName(const char* lc_all, const char* lc_numeric, const char* lang) {
  for (const char* name : {lc_all, lc_numeric, lang}) {
    if (name != nullptr && name[0] != '\0') return name;
  }
  return "C";
}

}  // namespace tervela
