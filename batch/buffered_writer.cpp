#include "batch/buffered_writer.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tervela {

BufferedWriter::BufferedWriter(int fd, std::size_t capacity)
    : fd_(fd), capacity_(capacity), buffer_(new char[capacity]) {}

BufferedWriter::~BufferedWriter() {
  if (fd_ >= 0) ::close(fd_);
}

Status BufferedWriter::Write(std::string_view text) {
  while (!text.empty()) {
    if (used_ == capacity_) {
      Status flushed = Flush();
      if (!flushed) return flushed;
    }
    const std::size_t count = std::min(text.size(), capacity_ - used_);
    std::memcpy(buffer_.get() + used_, text.data(), count);
    used_ += count;
    text.remove_prefix(count);
  }
  return {};
}

Result<char*> BufferedWriter::Reserve(std::size_t size) {
  if (capacity_ - used_ < size) {
    Status flushed = Flush();
    if (!flushed) return flushed.error();
  }
  return buffer_.get() + used_;
}

Status BufferedWriter::Flush() {
  std::size_t done = 0;
  while (done < used_) {
    const ssize_t n = ::write(fd_, buffer_.get() + done, used_ - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      // The unwritten text is dropped so a later flush does not repeat it.
      used_ = 0;
      return Error::FromErrno(errno);
    }
    done += static_cast<std::size_t>(n);
  }
  used_ = 0;
  return {};
}

Status BufferedWriter::Close() {
  Status flushed = fd_ >= 0 ? Flush() : Status();
  const int fd = fd_;
  fd_ = -1;
  if (fd >= 0 && ::close(fd) != 0 && flushed.ok()) return Error::FromErrno(errno);
  return flushed;
}

}  // namespace tervela
