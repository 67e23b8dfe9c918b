#include "io/file_descriptor.h"

#include <unistd.h>

#include "io/system_calls.h"

namespace tervela::io {

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = std::exchange(other.fd_, -1);
  }
  return *this;
}

FileDescriptor::~FileDescriptor() {
  if (fd_ >= 0) ::close(fd_);
}

Status FileDescriptor::Close() {
  if (fd_ < 0) return {};
  return io::Close(std::exchange(fd_, -1));
}

}  // namespace tervela::io
