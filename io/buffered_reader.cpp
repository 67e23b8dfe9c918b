#include "io/buffered_reader.h"

#include <cstring>
#include <string_view>

#include "io/system_calls.h"

namespace tervela::io {

namespace {
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
}  // namespace

BufferedReader::BufferedReader(FileDescriptor file, std::size_t capacity)
    : file_(std::move(file)), capacity_(capacity), buffer_(new char[capacity]) {}

Result<bool> BufferedReader::ReadMore() {
  if (at_end_) return false;
  if (pos_ > 0) {
    std::memmove(buffer_.get(), buffer_.get() + pos_, len_ - pos_);
    len_ -= pos_;
    pos_ = 0;
  }
  if (len_ == capacity_) return false;
  Result<bool> more = ReadFromFile();
  if (!more.ok() || mark_checked_) return more;
  return SkipByteOrderMark(more.value());
}

Result<bool> BufferedReader::ReadFromFile() {
  Result<std::size_t> read =
      io::ReadWhenReady(file_.get(), buffer_.get() + len_, capacity_ - len_, stop_requested_);
  if (!read.ok()) return read.error();
  if (read.value() == 0) {
    at_end_ = true;
    return false;
  }
  len_ += read.value();
  bytes_read_ += read.value();
  return true;
}

Result<bool> BufferedReader::SkipByteOrderMark(bool more) {
  // A pipe may hand over the mark a byte at a time.
  while (more && len_ < kByteOrderMark.size() &&
         kByteOrderMark.starts_with(std::string_view(buffer_.get(), len_))) {
    Result<bool> read = ReadFromFile();
    if (!read.ok()) return read.error();
    more = read.value();
  }
  mark_checked_ = true;
  if (!std::string_view(buffer_.get(), len_).starts_with(kByteOrderMark)) return len_ > 0;
  Consume(kByteOrderMark.size());
  if (pos_ < len_) return true;
  return ReadMore();
}

void BufferedReader::EndData() {
  at_end_ = true;
  pos_ = len_ = 0;
}

}  // namespace tervela::io
