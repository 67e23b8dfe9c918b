#pragma once

namespace tervela {

// The decimal separator of the locale that the environment selects
// (LC_ALL, LC_NUMERIC, LANG): the one the window parses the Settings page
// with. A point when the locale names none.
char LocaleDecimalSeparator();

}  // namespace tervela
