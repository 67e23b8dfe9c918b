#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "batch/record_text.h"
#include "common/result.h"
#include "io/buffered_reader.h"

namespace tervela {

// A number token of a point record, copied out of the stream.
struct TNumberToken {
  char text[kMaxTokenLength];
  std::size_t length = 0;

  std::string_view view() const { return {text, length}; }
};

// Reads the records of a point file (the grammar of record_text.h) through one
// large buffer, streaming what does not fit in it.
class PointReader {
 public:
  explicit PointReader(io::FileDescriptor file);

  // True when no byte is left or the next byte is Ctrl-Z. Looks at the next
  // byte only; blanks and line ends count as data.
  Result<bool> Exhausted();

  // Skips the blanks before a token, across lines, then reads the token; the
  // byte that ends it is left unread. The token is empty when the data ends
  // while skipping.
  Status ReadToken(TNumberToken& token);

  // Brings the rest of the current line, up to its LF, into the buffer when
  // it fits, so that the record is read whole before it is converted.
  Status BufferRestOfLine();

  // The next piece of the free text: the bytes up to the next CR, LF or the
  // end of the data. CRs are dropped; the LF ending the line is consumed.
  // An empty piece means the line is done. The view lasts until the next call.
  Result<std::string_view> NextFreeTextPiece();

  // Consumes everything up to and including the next LF.
  Status SkipRestOfLine();

  // Appends to `records` whole records from the front of the data, as many
  // as the buffer holds but no more once `max_bytes` are taken (at least one
  // unless the data is exhausted), reading more as needed, and returns how
  // many. Nothing behind a Ctrl-Z is taken. 0 with data left means the next
  // record is longer than the buffer: read it with the calls above.
  Result<std::size_t> TakeRecords(std::string& records, std::size_t max_bytes);

  // The input's bytes read so far.
  std::uint64_t bytes_read() const { return input_.bytes_read(); }

  // Lets a read that waits for data be stopped (io::BufferedReader).
  void SetStopCheck(std::function<bool()> stop_requested) {
    input_.SetStopCheck(std::move(stop_requested));
  }

  // Closes the file; the error is that of the close.
  Status Close() { return input_.Close(); }

 private:
  // Makes at least one byte available; false at the end of the data or at a
  // Ctrl-Z.
  Result<bool> Fill();

  io::BufferedReader input_;
};

}  // namespace tervela
