#include "batch/record_text.h"

#include <charconv>
#include <cstring>

#include "common/number_text.h"

namespace tervela {

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

// True for the usual shape "[-]digits[.digits]", which std::from_chars
// reads exactly as ParseFileNumber does and which cannot overflow.
bool IsPlainDecimal(std::string_view text) {
  std::size_t i = !text.empty() && text[0] == '-' ? 1 : 0;
  const std::size_t integer_begin = i;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
  if (i == integer_begin) return false;
  if (i == text.size()) return true;
  if (text[i] != '.') return false;
  const std::size_t fraction_begin = ++i;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
  return i > fraction_begin && i == text.size();
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
    const char* const token_begin = p;
    while (p < end && p - token_begin < static_cast<std::ptrdiff_t>(kMaxTokenLength) && !IsBlank(*p)) ++p;
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
  if (!IsPlainDecimal(token)) return ParseFileNumber(token);
  double value = 0;
  std::from_chars(token.data(), token.data() + token.size(), value);
  return value;
}

}  // namespace tervela
