#pragma once

#include <string>
#include <string_view>

#include "common/result.h"

namespace tervela {

// A number typed into the window: optional blanks (not tabs), an optional
// sign, digits with at most one decimal separator, an optional exponent
// (E or e, optional sign, digits), optional blanks, nothing else.
// Errors: Error::NotANumber(text) for any other text (the empty text
// included); Error::Overflow() for a magnitude beyond the double range.
// A magnitude too small for a double reads as zero.
Result<double> ParseTypedNumber(std::string_view text, char decimal_separator);

// A number token of a point file: an optional sign, digits with at most one
// decimal point, an optional exponent; the token holds nothing else.
// Errors: Error::File(106) "Invalid numeric input" for a malformed token;
// Error::Overflow() for a magnitude beyond the double range. Plain decimals of
// at most 15 digits, the usual token, are read in one pass.
Result<double> ParseFileNumber(std::string_view token);

// Fixed notation with exactly `decimals` decimals (0 to 17): halves rounded
// away from zero, no "-" on a value that rounds to zero, no grouping or padding.
std::string FormatFixed(double value, int decimals, char decimal_separator);
std::string FormatFixed(long double value, int decimals, char decimal_separator);

// FormatFixed without the zeros that end its decimals, nor a separator left
// last: at most `decimals` decimals, as short as the value allows.
std::string FormatTrimmed(double value, int decimals, char decimal_separator);

// The same with a point as separator, written at `out` without allocating.
// `out` must have room for kMaxFixedChars characters. Returns the end.
inline constexpr int kMaxFixedChars = 340;
char* FormatFixedTo(char* out, double value, int decimals);

// The number the text FormatFixed(value, decimals) reads back as: `value`
// rounded to `decimals` decimals, halves away from zero, then the nearest
// double (a zero without its sign). Formed without the text where
// |value| x 10^decimals is below 2^52, which holds for every value a
// Settings-page field takes from a real system; through it beyond.
double RoundToDecimals(double value, int decimals);

}  // namespace tervela
