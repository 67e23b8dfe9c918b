#pragma once

#include <cstddef>
#include <string_view>

#include "common/result.h"

namespace tervela {

// The point-file record grammar on bytes held in memory. A record is two
// number tokens and a free text: a token is a run of bytes above code 32, at
// most 64 of them (a longer run goes on as the next token); the bytes from 0
// to 32 before a token are skipped, across lines; the free text is what
// follows the second token up to the LF that ends the record, without CRs. A
// Ctrl-Z byte (26) ends the data. PointReader reads the same grammar from a
// stream.

inline constexpr std::size_t kMaxTokenLength = 64;
inline constexpr char kCtrlZ = 26;

// The bytes skipped before a token and ending it: codes 0 to 32.
inline bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

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

// The value of a number token: 0 for an empty token, else ParseFileNumber's.
Result<double> TokenValue(std::string_view token);

// The values of a record's two number tokens; when either is malformed, the
// error of the first malformed one.
Status ReadNumbers(std::string_view first_token, std::string_view second_token, double& first,
                   double& second);

}  // namespace tervela
