#pragma once

#include <utility>

#include "common/result.h"

namespace tervela::io {

// Owns an open file descriptor and closes it exactly once: by Close(), which
// reports the error of the close, or silently when the owner goes.
class FileDescriptor {
 public:
  FileDescriptor() = default;
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  FileDescriptor& operator=(FileDescriptor&& other) noexcept;
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor();

  int get() const { return fd_; }
  bool is_open() const { return fd_ >= 0; }
  // Closes the descriptor; a second call does nothing.
  Status Close();

 private:
  int fd_ = -1;
};

}  // namespace tervela::io
