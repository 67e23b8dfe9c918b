#include "common/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <system_error>

namespace tervela {

namespace {

// Where the parts of a number text lie, once its grammar has been checked.
struct NumberShape {
  bool negative = false;
  std::string_view mantissa;  // digits and at most one separator
  std::string_view exponent;  // after E/e: optional sign and digits; may be empty
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// a + b, held at the long range instead of wrapping: an exponent of 19 or more
// digits (which strtol clamps to the range) must still count as huge.
long SaturatingAdd(long a, long b) {
  long sum = 0;
  if (!__builtin_add_overflow(a, b, &sum)) return sum;
  return b > 0 ? std::numeric_limits<long>::max() : std::numeric_limits<long>::min();
}

// Checks sign, mantissa and exponent of `text` (no blanks). False when the text
// breaks the grammar.
bool MatchNumber(std::string_view text, char separator, NumberShape& shape) {
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    shape.negative = text[i] == '-';
    ++i;
  }
  const std::size_t mantissa_begin = i;
  int digits = 0;
  bool seen_separator = false;
  for (; i < text.size(); ++i) {
    if (IsDigit(text[i])) {
      ++digits;
    } else if (text[i] == separator && !seen_separator) {
      seen_separator = true;
    } else {
      break;
    }
  }
  if (digits == 0) return false;
  shape.mantissa = text.substr(mantissa_begin, i - mantissa_begin);
  if (i == text.size()) return true;
  if (text[i] != 'e' && text[i] != 'E') return false;
  ++i;
  const std::size_t exponent_begin = i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  const std::size_t exponent_digits = i;
  while (i < text.size() && IsDigit(text[i])) ++i;
  if (i == exponent_digits || i != text.size()) return false;
  shape.exponent = text.substr(exponent_begin);
  return true;
}

// The value of a checked number: from_chars on the text rewritten with a point.
// Out of range is overflow when the number is at least 1 in magnitude;
// otherwise it is an underflow, which reads as a signed zero.
Result<double> ValueOf(const NumberShape& shape, char separator) {
  std::string text;
  text.reserve(shape.mantissa.size() + shape.exponent.size() + 1);
  for (char c : shape.mantissa) text.push_back(c == separator ? '.' : c);
  if (!shape.exponent.empty()) {
    text.push_back('e');
    text.append(shape.exponent);
  }
  double value = 0.0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec == std::errc::result_out_of_range) {
    // Decimal magnitude: count integer digits after leading zeros, or the
    // negative count of leading fraction zeros, plus the exponent.
    long magnitude = 0;
    std::size_t k = 0;
    while (k < shape.mantissa.size() && (shape.mantissa[k] == '0')) ++k;
    long integer_digits = 0;
    for (std::size_t j = k; j < shape.mantissa.size() && shape.mantissa[j] != separator; ++j) {
      ++integer_digits;
    }
    if (integer_digits > 0) {
      magnitude = integer_digits;
    } else {
      std::size_t j = shape.mantissa.find(separator);
      long zeros = 0;
      for (++j; j < shape.mantissa.size() && shape.mantissa[j] == '0'; ++j) ++zeros;
      magnitude = -zeros;
    }
    const long exponent = std::strtol(std::string(shape.exponent).c_str(), nullptr, 10);
    if (SaturatingAdd(magnitude, exponent) > 0) return Error::Overflow();
    value = 0.0;
  } else if (ec != std::errc() || end != text.data() + text.size()) {
    return Error::InvalidOperation();  // unreachable for a checked text
  }
  return shape.negative ? -value : value;
}

// True when `value` lies exactly halfway between two multiples of 10^-decimals.
// Such a value is a multiple of 2^-(decimals+1), so it has at most decimals+1
// fraction digits and prints exactly with one more decimal.
template <class Float>
bool MayBeHalfway(Float value, int decimals) {
  const Float scaled = std::ldexp(value, decimals + 1);
  return std::isfinite(scaled) && std::trunc(scaled) == scaled;
}

// Rounds the digit string "[-]ddd.ddd5" (one decimal too many) half away from zero.
std::string RoundLastDigitAway(std::string text) {
  const bool up = text.back() >= '5';
  text.pop_back();
  if (text.back() == '.') text.pop_back();
  if (!up) return text;
  const std::size_t first_digit = text[0] == '-' ? 1 : 0;
  for (std::size_t i = text.size(); i-- > first_digit;) {
    if (text[i] == '.') continue;
    if (text[i] != '9') {
      ++text[i];
      return text;
    }
    text[i] = '0';
  }
  return text.substr(0, first_digit) + "1" + text.substr(first_digit);
}

template <class Float>
std::string Format(Float value, int decimals, char separator) {
  // Long double needs up to ~4950 integer digits; a double needs ~310.
  char buffer[5000];
  std::string text;
  if (MayBeHalfway(value, decimals)) {
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed,
                                 decimals + 1);
    text = RoundLastDigitAway(std::string(buffer, r.ptr));
  } else {
    const auto r =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    text.assign(buffer, r.ptr);
  }
  if (text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
  if (separator != '.') {
    const std::size_t point = text.find('.');
    if (point != std::string::npos) text[point] = separator;
  }
  return text;
}

}  // namespace

Result<double> ParseTypedNumber(std::string_view text, char decimal_separator) {
  std::string_view core = text;
  while (!core.empty() && core.front() == ' ') core.remove_prefix(1);
  while (!core.empty() && core.back() == ' ') core.remove_suffix(1);
  NumberShape shape;
  if (!MatchNumber(core, decimal_separator, shape)) return Error::NotANumber(text);
  return ValueOf(shape, decimal_separator);
}

Result<double> ParseFileNumber(std::string_view token) {
  NumberShape shape;
  if (!MatchNumber(token, '.', shape)) return Error::File(file_error::kInvalidNumericInput);
  return ValueOf(shape, '.');
}

std::string FormatFixed(double value, int decimals, char decimal_separator) {
  return Format(value, decimals, decimal_separator);
}

std::string FormatFixed(long double value, int decimals, char decimal_separator) {
  return Format(value, decimals, decimal_separator);
}

char* FormatFixedTo(char* out, double value, int decimals) {
  if (!MayBeHalfway(value, decimals)) {
    // The common case: correctly rounded, no tie possible.
    char* end = std::to_chars(out, out + kMaxFixedChars, value, std::chars_format::fixed, decimals).ptr;
    if (*out == '-') {
      bool all_zero = true;
      for (char* p = out + 1; p < end; ++p) all_zero &= (*p == '0' || *p == '.');
      if (all_zero) {
        std::copy(out + 1, end, out);
        --end;
      }
    }
    return end;
  }
  const std::string text = Format(value, decimals, '.');
  return std::copy(text.begin(), text.end(), out);
}

}  // namespace tervela
