#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

#include "common/result.h"
#include "io/file_descriptor.h"

namespace tervela::io {

// Where the bytes of a file being written go.
class ByteSink {
 public:
  virtual ~ByteSink() = default;
  virtual Status Write(std::string_view bytes) = 0;
};

// Writes a file through one buffer to a descriptor it owns, so that a run
// makes no system call per line.
class BufferedWriter final : public ByteSink {
 public:
  // Room that Reserve() can always give.
  static constexpr std::size_t kMaxReserve = 1024;

  // `capacity` must be at least kMaxReserve.
  BufferedWriter(FileDescriptor file, std::size_t capacity);

  Status Write(std::string_view bytes) override;

  // Space for at least `size` (<= kMaxReserve) bytes at the end of the
  // buffered bytes; Commit() then takes the bytes up to `end`.
  Result<char*> Reserve(std::size_t size);
  void Commit(char* end) { used_ = static_cast<std::size_t>(end - buffer_.get()); }

  // Writes the buffered bytes out. On a failure they are dropped, so that a
  // later flush does not repeat them.
  Status Flush();
  // Flushes and closes the descriptor. The first failure is reported; the
  // descriptor is closed either way.
  Status Close();

 private:
  FileDescriptor file_;
  std::size_t capacity_;
  std::size_t used_ = 0;
  std::unique_ptr<char[]> buffer_;
};

}  // namespace tervela::io
