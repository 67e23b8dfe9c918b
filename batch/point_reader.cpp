#include "batch/point_reader.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tervela {

namespace {

constexpr std::size_t kBufferSize = 256 * 1024;
constexpr char kCtrlZ = 26;

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

bool EndsFreeText(char c) { return c == '\r' || c == '\n' || c == kCtrlZ; }

}  // namespace

PointReader::PointReader(int fd, ProgressCallback progress)
    : fd_(fd), progress_(std::move(progress)), buffer_(new char[kBufferSize]) {}

PointReader::~PointReader() {
  if (fd_ >= 0) ::close(fd_);
}

Result<bool> PointReader::ReadMore() {
  if (at_end_) return false;
  if (pos_ > 0) {
    std::memmove(buffer_.get(), buffer_.get() + pos_, len_ - pos_);
    len_ -= pos_;
    pos_ = 0;
  }
  for (;;) {
    const ssize_t n = ::read(fd_, buffer_.get() + len_, kBufferSize - len_);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return Error::FromErrno(errno);
    if (n == 0) {
      at_end_ = true;
      return false;
    }
    len_ += static_cast<std::size_t>(n);
    bytes_read_ += static_cast<std::uint64_t>(n);
    if (progress_) progress_(bytes_read_);
    return true;
  }
}

Result<bool> PointReader::Fill() {
  if (pos_ == len_) {
    pos_ = len_ = 0;
    Result<bool> more = ReadMore();
    if (!more.ok() || !more.value()) return more;
  }
  if (buffer_[pos_] == kCtrlZ) {
    // Nothing behind a Ctrl-Z is data.
    at_end_ = true;
    pos_ = len_ = 0;
    return false;
  }
  return true;
}

Result<bool> PointReader::Exhausted() {
  Result<bool> more = Fill();
  if (!more.ok()) return more.error();
  return !more.value();
}

Status PointReader::ReadToken(TNumberToken& token) {
  token.length = 0;
  // Blanks first; Fill() stops at the end of the data and at a Ctrl-Z.
  for (;;) {
    while (pos_ < len_ && IsBlank(buffer_[pos_]) && buffer_[pos_] != kCtrlZ) ++pos_;
    Result<bool> more = Fill();
    if (!more.ok()) return more.error();
    if (!more.value()) return {};
    if (!IsBlank(buffer_[pos_])) break;
  }
  for (;;) {
    while (pos_ < len_ && token.length < TNumberToken::kMaxLength && !IsBlank(buffer_[pos_])) {
      token.text[token.length++] = buffer_[pos_++];
    }
    if (pos_ < len_ || token.length == TNumberToken::kMaxLength) return {};
    Result<bool> more = Fill();
    if (!more.ok()) return more.error();
    if (!more.value()) return {};
  }
}

Status PointReader::BufferRestOfLine() {
  std::size_t scanned = pos_;
  for (;;) {
    if (std::memchr(buffer_.get() + scanned, '\n', len_ - scanned) != nullptr) return {};
    if (len_ - pos_ == kBufferSize) return {};  // longer than the buffer: streamed
    scanned = len_ - pos_;
    Result<bool> more = ReadMore();
    if (!more.ok()) return more.error();
    if (!more.value()) return {};
  }
}

std::optional<std::size_t> PointReader::BufferedLineLength() const {
  const char* start = buffer_.get() + pos_;
  const void* lf = std::memchr(start, '\n', len_ - pos_);
  if (lf != nullptr) return static_cast<std::size_t>(static_cast<const char*>(lf) - start);
  if (at_end_) return len_ - pos_;
  return std::nullopt;
}

Result<std::string_view> PointReader::NextFreeTextPiece() {
  for (;;) {
    Result<bool> more = Fill();
    if (!more.ok()) return more.error();
    if (!more.value()) return std::string_view();
    const char c = buffer_[pos_];
    if (c == '\n') {
      ++pos_;
      return std::string_view();
    }
    if (c != '\r') break;
    ++pos_;  // a CR is never part of the text
  }
  const std::size_t begin = pos_;
  while (pos_ < len_ && !EndsFreeText(buffer_[pos_])) ++pos_;
  return std::string_view(buffer_.get() + begin, pos_ - begin);
}

Status PointReader::SkipRestOfLine() {
  for (;;) {
    Result<bool> more = Fill();
    if (!more.ok()) return more.error();
    if (!more.value()) return {};
    const char* start = buffer_.get() + pos_;
    std::size_t count = len_ - pos_;
    const void* ctrl_z = std::memchr(start, kCtrlZ, count);
    if (ctrl_z != nullptr) count = static_cast<std::size_t>(static_cast<const char*>(ctrl_z) - start);
    const void* lf = std::memchr(start, '\n', count);
    if (lf != nullptr) {
      pos_ += static_cast<std::size_t>(static_cast<const char*>(lf) - start) + 1;
      return {};
    }
    pos_ += count;
  }
}

Status PointReader::Close() {
  const int fd = fd_;
  fd_ = -1;
  if (fd >= 0 && ::close(fd) != 0) return Error::FromErrno(errno);
  return {};
}

}  // namespace tervela
