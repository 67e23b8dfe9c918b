#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

#include "common/result.h"
#include "io/buffered_reader.h"

namespace tervela {

// The point-file record grammar on bytes held in memory. A record is two
// number tokens and a free text: a token is a run of bytes above code 32, at
// most 64 of them (a longer run goes on as the next token); the bytes from 0
// to 32 before a token are skipped, across lines; the free text is what
// follows the second token up to the LF that ends the record, without CRs. A
// Ctrl-Z byte (26) ends the data. PointReader reads the same grammar from a
// stream.

inline constexpr std::size_t kMaxTokenLength = 64;
using io::kCtrlZ;

// The bytes skipped before a token and ending it: codes 0 to 32.
inline bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

// The first byte from `p` on that is no blank or is a Ctrl-Z, or `end`.
inline const char* SkipBlanks(const char* p, const char* end) {
  while (p < end && IsBlank(*p) && *p != kCtrlZ) ++p;
  return p;
}

// The end of the token bytes from `p` on: the first blank, or `end`, or the
// byte `room` bytes on, whichever comes first.
inline const char* TokenEnd(const char* p, const char* end, std::size_t room) {
  const char* const limit = static_cast<std::size_t>(end - p) > room ? p + room : end;
  while (p < limit && !IsBlank(*p)) ++p;
  return p;
}

// The first LF or Ctrl-Z from `p` on (where the current line or the data
// ends), or `end`.
inline const char* FindLineEnd(const char* p, const char* end) {
  const void* lf = std::memchr(p, '\n', static_cast<std::size_t>(end - p));
  const char* const line_end = lf ? static_cast<const char*>(lf) : end;
  const void* ctrl_z = std::memchr(p, kCtrlZ, static_cast<std::size_t>(line_end - p));
  return ctrl_z ? static_cast<const char*>(ctrl_z) : line_end;
}

// Where the record starting at `begin` (the first of the bytes up to `end`)
// ends: just past its LF, or at a Ctrl-Z, which also ends the data
// (`*ends_data` is then set). With `at_end_of_data` the bytes up to `end` are
// all there is, so a record without an LF ends there. Null when the bytes do
// not hold the whole record yet.
const char* FindRecordEnd(const char* begin, const char* end, bool at_end_of_data,
                          bool* ends_data);

// One record of a run of whole records.
struct RecordText {
  std::string_view first, second;  // empty where the data ended first
  std::string_view free_text;      // as in the file: CRs still in it
};

// Splits the record at `*next` (the bytes up to `end` hold it whole, as
// FindRecordEnd found it) and moves `*next` past it.
RecordText SplitRecord(const char** next, const char* end);

// The values of a record's two number tokens; when either is malformed, the
// error of the first malformed one.
Status ReadNumbers(std::string_view first_token, std::string_view second_token, double& first,
                   double& second);

}  // namespace tervela
