#include "batch/record_text.h"

#include "common/number_text.h"

namespace tervela {

namespace {

// Skips blanks and takes the token after them, as far as `end`.
std::string_view NextToken(const char** next, const char* end) {
  const char* const begin = SkipBlanks(*next, end);
  *next = TokenEnd(begin, end, kMaxTokenLength);
  return {begin, static_cast<std::size_t>(*next - begin)};
}

// The value of a number token: 0 for an empty token, else ParseFileNumber's.
Result<double> TokenValue(std::string_view token) {
  if (token.empty()) return 0.0;
  return ParseFileNumber(token);
}

}  // namespace

const char* FindRecordEnd(const char* begin, const char* end, bool at_end_of_data,
                          bool* ends_data) {
  const char* p = begin;
  for (int tokens = 0; tokens < 2; ++tokens) {
    p = SkipBlanks(p, end);
    if (p < end && *p == kCtrlZ) {
      *ends_data = true;
      return p;
    }
    p = TokenEnd(p, end, kMaxTokenLength);
    if (p == end) return at_end_of_data ? end : nullptr;
  }
  const char* const line_end = FindLineEnd(p, end);
  if (line_end == end) return at_end_of_data ? end : nullptr;
  if (*line_end == kCtrlZ) {
    *ends_data = true;
    return line_end;
  }
  return line_end + 1;
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
