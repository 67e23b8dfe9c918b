#include "io/buffered_writer.h"

#include <algorithm>
#include <cstring>

#include "io/system_calls.h"

namespace tervela::io {

BufferedWriter::BufferedWriter(FileDescriptor file, std::size_t capacity)
    : file_(std::move(file)), capacity_(capacity), buffer_(new char[capacity]) {}

Status BufferedWriter::Write(std::string_view bytes) {
  while (!bytes.empty()) {
    if (used_ == capacity_) {
      if (Status flushed = Flush(); !flushed) return flushed;
    }
    const std::size_t count = std::min(bytes.size(), capacity_ - used_);
    std::memcpy(buffer_.get() + used_, bytes.data(), count);
    used_ += count;
    bytes.remove_prefix(count);
  }
  return {};
}

Result<char*> BufferedWriter::Reserve(std::size_t size) {
  if (capacity_ - used_ < size) {
    if (Status flushed = Flush(); !flushed) return flushed.error();
  }
  return buffer_.get() + used_;
}

Status BufferedWriter::Flush() {
  const std::size_t used = std::exchange(used_, 0);
  if (used == 0) return {};
  return io::WriteAll(file_.get(), std::string_view(buffer_.get(), used));
}

Status BufferedWriter::Close() {
  if (!file_.is_open()) return {};
  Status flushed = Flush();
  Status closed = file_.Close();
  return flushed.ok() ? closed : flushed;
}

}  // namespace tervela::io
