#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

#include "common/result.h"

namespace tervela {

// Writes a text file through one large buffer to a descriptor it owns, so a
// run makes no system call per line.
class BufferedWriter {
 public:
  // Room that Reserve() can always give.
  static constexpr std::size_t kMaxReserve = 1024;

  BufferedWriter(int fd, std::size_t capacity);
  BufferedWriter(const BufferedWriter&) = delete;
  BufferedWriter& operator=(const BufferedWriter&) = delete;
  ~BufferedWriter();

  Status Write(std::string_view text);

  // Space for at least `size` (<= kMaxReserve) bytes at the end of the
  // buffered text; Commit() then takes the bytes up to `end`.
  Result<char*> Reserve(std::size_t size);
  void Commit(char* end) { used_ = static_cast<std::size_t>(end - buffer_.get()); }

  // Writes the buffered text out.
  Status Flush();
  // Flushes and closes the descriptor. The first failure is reported; the
  // descriptor is closed either way.
  Status Close();

 private:
  int fd_;
  std::size_t capacity_;
  std::size_t used_ = 0;
  std::unique_ptr<char[]> buffer_;
};

}  // namespace tervela
