#include "common/line_reader.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tervela {

namespace {
constexpr std::size_t kBufferSize = 65536;
constexpr char kCtrlZ = 26;
}  // namespace

LineReader::LineReader(int fd) : fd_(fd), buffer_(new char[kBufferSize]) {}

LineReader::LineReader(LineReader&& other) noexcept
    : fd_(other.fd_),
      at_end_(other.at_end_),
      pos_(other.pos_),
      len_(other.len_),
      buffer_(std::move(other.buffer_)) {
  other.fd_ = -1;
}

LineReader::~LineReader() {
  if (fd_ >= 0) ::close(fd_);
}

Result<LineReader> LineReader::Open(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return Error::FromErrno(errno);
  return LineReader(fd);
}

Result<bool> LineReader::Fill() {
  if (pos_ < len_) return true;
  if (at_end_) return false;
  for (;;) {
    const ssize_t n = ::read(fd_, buffer_.get(), kBufferSize);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return Error::FromErrno(errno);
    pos_ = 0;
    len_ = static_cast<std::size_t>(n);
    if (n == 0) at_end_ = true;
    return n > 0;
  }
}

Status LineReader::ReadLine(std::string& line) {
  line.clear();
  for (;;) {
    Result<bool> more = Fill();
    if (!more) return more.error();
    if (!more.value()) return {};
    const char c = buffer_[pos_];
    if (c == kCtrlZ) {
      at_end_ = true;
      pos_ = len_ = 0;
      return {};
    }
    ++pos_;
    if (c == '\n') return {};
    // A CR is never part of the text: before LF it belongs to the line end,
    // and a lone CR is dropped.
    if (c != '\r') line.push_back(c);
  }
}

Status LineReader::Close() {
  const int fd = fd_;
  fd_ = -1;
  if (fd >= 0 && ::close(fd) != 0) return Error::FromErrno(errno);
  return {};
}

}  // namespace tervela
