#include "io/buffered_reader.h"

#include <cstring>

#include "io/system_calls.h"

namespace tervela::io {

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
  Result<std::size_t> read = io::Read(file_.get(), buffer_.get() + len_, capacity_ - len_);
  if (!read.ok()) return read.error();
  if (read.value() == 0) {
    at_end_ = true;
    return false;
  }
  len_ += read.value();
  bytes_read_ += read.value();
  return true;
}

void BufferedReader::EndData() {
  at_end_ = true;
  pos_ = len_ = 0;
}

}  // namespace tervela::io
