#include "common/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <limits>
#include <optional>
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

// The powers of ten that plain decimals are read by and fixed formats scale
// by, each exact in a double.
constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8,
                                   1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17};
// At most this many digits make an integer below 2^53, exact in a double.
constexpr int kExactDigits = 15;

// The usual shape of a file's number, "[-]digits[.digits]" with at most 15
// digits, read in one pass: the digits form an integer exact in a double and
// the value is that integer divided by an exact power of ten, one correctly
// rounded division (Clinger's fast path), so it is the value the general
// reader gives. Unset for any other text, which the general reader takes.
std::optional<double> PlainDecimalValue(std::string_view text) {
  const char* p = text.data();
  const char* const end = p + text.size();
  const bool negative = p < end && *p == '-';
  p += negative ? 1 : 0;
  std::uint64_t digits = 0;
  // The digits from `p` on, taken into `digits`; returns how many.
  const auto take_digits = [&] {
    const char* const first = p;
    for (unsigned digit; p < end && (digit = static_cast<unsigned char>(*p) - '0') <= 9; ++p) {
      digits = digits * 10 + digit;
    }
    return static_cast<int>(p - first);
  };
  const int integer_digits = take_digits();
  int fraction_digits = 0;
  if (integer_digits > 0 && p < end && *p == '.') {
    ++p;
    fraction_digits = take_digits();
    if (fraction_digits == 0) return std::nullopt;
  }
  if (p != end || integer_digits == 0 || integer_digits + fraction_digits > kExactDigits) {
    return std::nullopt;
  }
  const double magnitude = static_cast<double>(digits) / kPowersOfTen[fraction_digits];
  return negative ? -magnitude : magnitude;
}

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

// Below this every double is exact as an integer with room for one more bit.
constexpr double kTwoToThe52 = 4503599627370496.0;

constexpr std::uint64_t kIntegerPowersOfTen[] = {
    1ull, 10ull, 100ull, 1000ull, 10000ull, 100000ull, 1000000ull, 10000000ull, 100000000ull,
    1000000000ull, 10000000000ull, 100000000000ull, 1000000000000ull, 10000000000000ull,
    100000000000000ull, 1000000000000000ull, 10000000000000000ull, 100000000000000000ull};

// The decimal digits of `number` (at least 1), which is below 10^17: the
// fixed path takes scaled values below 2^52 only.
int CountDigits(std::uint64_t number) {
  int count = 1;
  while (count < static_cast<int>(std::size(kIntegerPowersOfTen)) && number >= kIntegerPowersOfTen[count]) {
    ++count;
  }
  return count;
}

// Writes the lowest `count` decimal digits of `number`, leading zeros
// included, two at a time.
char* WriteDigits(char* out, std::uint64_t number, int count) {
  static constexpr char kPairs[] =
      "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
      "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
      "8081828384858687888990919293949596979899";
  char* p = out + count;
  while (p - out >= 2) {
    const auto pair = static_cast<std::size_t>(number % 100) * 2;
    number /= 100;
    *--p = kPairs[pair + 1];
    *--p = kPairs[pair];
  }
  if (p > out) *--p = static_cast<char>('0' + number % 10);
  return out + count;
}

// Dekker's splitting: hi + lo == a, each half with at most 26 significant bits,
// so that products of halves are exact.
void Split(double a, double& hi, double& lo) {
  const double c = 134217729.0 * a;  // 2^27 + 1
  hi = c - (c - a);
  lo = a - hi;
}

// |value| x 10^decimals rounded half away from zero, without any big-number
// arithmetic: the product is formed exactly as itself and its rounding error
// (Dekker's two-product; the build keeps floating-point contraction off, so
// each step rounds as written), then rounded by looking at the exact
// fraction. Unset when the scaled value is 2^52 or more (or not finite).
std::optional<std::uint64_t> ScaledHalfAway(double value, int decimals) {
  const double scale = kPowersOfTen[decimals];
  const double magnitude = std::fabs(value);
  const double product = magnitude * scale;
  if (!(product < kTwoToThe52)) return std::nullopt;
  double value_hi, value_lo, scale_hi, scale_lo;
  Split(magnitude, value_hi, value_lo);
  Split(scale, scale_hi, scale_lo);
  const double error = ((value_hi * scale_hi - product) + value_hi * scale_lo + value_lo * scale_hi) +
                       value_lo * scale_lo;
  // product + error is the exact scaled value. Its fraction past the integer
  // part is compared with one half: product - whole is exact, and so is
  // fraction - 0.5 wherever the sum could be near zero (Sterbenz), so the
  // sign of the last sum is exact; zero is an exact tie, rounded away.
  const double whole = std::floor(product);
  const double fraction = product - whole;
  const bool up = (fraction - 0.5) + error >= 0;
  return static_cast<std::uint64_t>(whole) + (up ? 1 : 0);
}

// The fixed format of the common case, from ScaledHalfAway. Null when that
// is unset: the caller then takes the general path.
char* FormatFixedExactTo(char* out, double value, int decimals) {
  const std::optional<std::uint64_t> scaled = ScaledHalfAway(value, decimals);
  if (!scaled) return nullptr;
  const std::uint64_t unit = kIntegerPowersOfTen[decimals];
  const std::uint64_t integer = *scaled / unit;
  if (value < 0 && *scaled != 0) *out++ = '-';
  out = WriteDigits(out, integer, CountDigits(integer));
  if (decimals == 0) return out;
  *out++ = '.';
  return WriteDigits(out, *scaled - integer * unit, decimals);
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
  if (const std::optional<double> value = PlainDecimalValue(token)) return *value;
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

std::string FormatTrimmed(double value, int decimals, char decimal_separator) {
  std::string text = FormatFixed(value, decimals, decimal_separator);
  if (text.find(decimal_separator) == std::string::npos) return text;
  while (text.back() == '0') text.pop_back();
  if (text.back() == decimal_separator) text.pop_back();
  return text == "-0" ? "0" : text;
}

char* FormatFixedTo(char* out, double value, int decimals) {
  if (char* end = FormatFixedExactTo(out, value, decimals)) return end;
  if (!MayBeHalfway(value, decimals)) {
    // Correctly rounded, no tie possible.
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

double RoundToDecimals(double value, int decimals) {
  // The text's digits are the scaled value, and reading them divides it by
  // 10^decimals: one correctly rounded division of two exact doubles.
  if (const std::optional<std::uint64_t> scaled = ScaledHalfAway(value, decimals)) {
    const double magnitude = static_cast<double>(*scaled) / kPowersOfTen[decimals];
    return value < 0 && *scaled != 0 ? -magnitude : magnitude;
  }
  return ParseTypedNumber(FormatFixed(value, decimals, '.'), '.').value();
}

}  // namespace tervela
