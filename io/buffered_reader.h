#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

#include "common/result.h"
#include "io/file_descriptor.h"

namespace tervela::io {

// Ctrl-Z (code 26) ends the data of every text file the program reads, point
// files and settings records alike: nothing behind it is read.
inline constexpr char kCtrlZ = 26;

// Reads a file through one buffer of fixed capacity. It knows nothing of
// lines or records: the readers built on it look at the unread bytes
// (data(), size()), consume what they used, and ask for more. A UTF-8
// byte-order mark (EF BB BF) at the very start of the file, as Windows
// editors write it, is skipped; the same bytes anywhere else are data. Reads
// wait for data with io::ReadWhenReady, so a pipe whose writer comes late is
// read, and a wait can be stopped (SetStopCheck).
class BufferedReader {
 public:
  BufferedReader(FileDescriptor file, std::size_t capacity);

  // The bytes read and not yet consumed.
  const char* data() const { return buffer_.get() + pos_; }
  std::size_t size() const { return len_ - pos_; }
  std::size_t capacity() const { return capacity_; }
  // The bytes read from the file so far.
  std::uint64_t bytes_read() const { return bytes_read_; }
  void Consume(std::size_t count) { pos_ += count; }

  // Makes at least one unread byte available; false at the end of the data.
  Result<bool> Fill() {
    if (pos_ < len_) return true;
    return ReadMore();
  }

  // Moves the unread bytes to the front and reads more behind them; false
  // when the file has no more (or the unread bytes fill the buffer).
  Result<bool> ReadMore();

  // True once the file has given its last byte or EndData() was called.
  bool at_end() const { return at_end_; }
  // Ends the data here: the unread bytes are dropped and nothing more is read.
  void EndData();

  // Closes the file; the error is that of the close.
  Status Close() { return file_.Close(); }

  // `stop_requested` is asked while a read waits for data; true fails the
  // read with ECANCELED (io::ReadWhenReady).
  void SetStopCheck(std::function<bool()> stop_requested) {
    stop_requested_ = std::move(stop_requested);
  }

 private:
  // Reads behind the unread bytes; false at the end of the file.
  Result<bool> ReadFromFile();
  // Drops a byte-order mark at the start of the file, reading until it is
  // known whether one is there.
  Result<bool> SkipByteOrderMark(bool more);

  FileDescriptor file_;
  std::size_t capacity_;
  std::unique_ptr<char[]> buffer_;
  std::size_t pos_ = 0;
  std::size_t len_ = 0;
  bool at_end_ = false;
  std::uint64_t bytes_read_ = 0;
  bool mark_checked_ = false;
  std::function<bool()> stop_requested_;
};

}  // namespace tervela::io
