#include "batch/record_text.h"

#include <cstdint>
#include <cstring>
#include <optional>

#include "common/number_text.h"

namespace tervela {

namespace {

// The powers of ten up to 10^22, each exact in a double.
constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
// At most this many digits make an integer below 2^53, exact in a double.
constexpr int kExactDigits = 15;

// The usual shape "[-]digits[.digits]" with at most 15 digits: the digits
// form an integer exact in a double and the value is that integer divided by
// an exact power of ten, one correctly rounded division (Clinger's fast path),
// so it is the value ParseFileNumber gives. Unset for any other token.
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

// Skips blanks and takes the token after them, as far as `end`.
std::string_view NextToken(const char** next, const char* end) {
  const char* p = *next;
  while (p < end && IsBlank(*p)) ++p;
  const char* const begin = p;
  const char* const limit = end - p > static_cast<std::ptrdiff_t>(kMaxTokenLength) ? p + kMaxTokenLength : end;
  while (p < limit && !IsBlank(*p)) ++p;
  *next = p;
  return {begin, static_cast<std::size_t>(p - begin)};
}

}  // namespace

const char* FindRecordEnd(const char* begin, const char* end, bool at_end_of_data,
                          bool* ends_data) {
  const char* p = begin;
  for (int tokens = 0; tokens < 2; ++tokens) {
    while (p < end && IsBlank(*p)) {
      if (*p == kCtrlZ) {
        *ends_data = true;
        return p;
      }
      ++p;
    }
    const char* const limit =
        end - p > static_cast<std::ptrdiff_t>(kMaxTokenLength) ? p + kMaxTokenLength : end;
    while (p < limit && !IsBlank(*p)) ++p;
    if (p == end) return at_end_of_data ? end : nullptr;
  }
  const void* lf = std::memchr(p, '\n', static_cast<std::size_t>(end - p));
  const char* const line_end = lf ? static_cast<const char*>(lf) : end;
  if (const void* ctrl_z = std::memchr(p, kCtrlZ, static_cast<std::size_t>(line_end - p))) {
    *ends_data = true;
    return static_cast<const char*>(ctrl_z);
  }
  if (lf) return line_end + 1;
  return at_end_of_data ? end : nullptr;
}

RecordText SplitRecord(const char** next, const char* end) {
  RecordText record;
  record.first = NextToken(next, end);
  record.second = NextToken(next, end);
  const char* const text_begin = *next;
  const void* lf = std::memchr(text_begin, '\n', static_cast<std::size_t>(end - text_begin));
  const char* const text_end = lf ? static_cast<const char*>(lf) : end;
  record.free_text = {text_begin, static_cast<std::size_t>(text_end - text_begin)};
  *next = lf ? text_end + 1 : end;
  return record;
}

Result<double> TokenValue(std::string_view token) {
  if (token.empty()) return 0.0;
  if (const std::optional<double> value = PlainDecimalValue(token)) return *value;
  return ParseFileNumber(token);
}

Status ReadNumbers(std::string_view first_token, std::string_view second_token, double& first,
                   double& second) {
  const Result<double> first_value = TokenValue(first_token);
  const Result<double> second_value = TokenValue(second_token);
  if (!first_value.ok()) return first_value.error();
  if (!second_value.ok()) return second_value.error();
  first = first_value.value();
  second = second_value.value();
  return {};
}

}  // namespace tervela
