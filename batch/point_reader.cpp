#include "batch/point_reader.h"

#include <cstring>

namespace tervela {

namespace {

constexpr std::size_t kBufferSize = 256 * 1024;

bool EndsFreeText(char c) { return c == '\r' || c == '\n' || c == kCtrlZ; }

}  // namespace

PointReader::PointReader(io::FileDescriptor file) : input_(std::move(file), kBufferSize) {}

Result<bool> PointReader::Fill() {
  Result<bool> more = input_.Fill();
  if (!more.ok() || !more.value()) return more;
  if (*input_.data() == kCtrlZ) {
    // Nothing behind a Ctrl-Z is data.
    input_.EndData();
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
    const char* const next = SkipBlanks(input_.data(), input_.data() + input_.size());
    input_.Consume(static_cast<std::size_t>(next - input_.data()));
    Result<bool> more = Fill();
    if (!more.ok()) return more.error();
    if (!more.value()) return {};
    if (!IsBlank(*input_.data())) break;
  }
  for (;;) {
    const char* const begin = input_.data();
    const std::size_t available = input_.size();
    const auto taken = static_cast<std::size_t>(
        TokenEnd(begin, begin + available, kMaxTokenLength - token.length) - begin);
    std::memcpy(token.text + token.length, begin, taken);
    token.length += taken;
    input_.Consume(taken);
    if (taken < available || token.length == kMaxTokenLength) return {};
    Result<bool> more = Fill();
    if (!more.ok()) return more.error();
    if (!more.value()) return {};
  }
}

Status PointReader::BufferRestOfLine() {
  std::size_t scanned = 0;
  for (;;) {
    if (std::memchr(input_.data() + scanned, '\n', input_.size() - scanned) != nullptr) return {};
    if (input_.size() == input_.capacity()) return {};  // longer than the buffer: streamed
    scanned = input_.size();
    Result<bool> more = input_.ReadMore();
    if (!more.ok()) return more.error();
    if (!more.value()) return {};
  }
}

Result<std::string_view> PointReader::NextFreeTextPiece() {
  for (;;) {
    Result<bool> more = Fill();
    if (!more.ok()) return more.error();
    if (!more.value()) return std::string_view();
    const char c = *input_.data();
    input_.Consume(c == '\n' || c == '\r' ? 1 : 0);
    if (c == '\n') return std::string_view();
    if (c != '\r') break;  // a CR is never part of the text
  }
  const char* const begin = input_.data();
  const std::size_t available = input_.size();
  std::size_t length = 0;
  while (length < available && !EndsFreeText(begin[length])) ++length;
  input_.Consume(length);
  return std::string_view(begin, length);
}

Status PointReader::SkipRestOfLine() {
  for (;;) {
    Result<bool> more = Fill();
    if (!more.ok()) return more.error();
    if (!more.value()) return {};
    const char* const start = input_.data();
    const char* const line_end = FindLineEnd(start, start + input_.size());
    const bool lf = line_end < start + input_.size() && *line_end == '\n';
    input_.Consume(static_cast<std::size_t>(line_end - start) + (lf ? 1 : 0));
    if (lf) return {};
  }
}

Result<std::size_t> PointReader::TakeRecords(std::string& records, std::size_t max_bytes) {
  for (;;) {
    if (input_.size() < input_.capacity() / 2 && !input_.at_end()) {
      Result<bool> more = input_.ReadMore();
      if (!more.ok()) return more.error();
    }
    const char* const begin = input_.data();
    const char* const end = begin + input_.size();
    const char* taken = begin;
    std::size_t count = 0;
    bool ends_data = false;
    while (taken < end && !ends_data && static_cast<std::size_t>(taken - begin) < max_bytes) {
      const char* record_end = FindRecordEnd(taken, end, input_.at_end(), &ends_data);
      if (record_end == nullptr) break;
      if (record_end > taken) ++count;
      taken = record_end;
    }
    if (count > 0 || ends_data || (taken == end && input_.at_end())) {
      records.append(begin, taken);
      input_.Consume(static_cast<std::size_t>(taken - begin));
      if (ends_data) input_.EndData();
      return count;
    }
    if (input_.size() == input_.capacity()) return std::size_t{0};
    Result<bool> more = input_.ReadMore();
    if (!more.ok()) return more.error();
  }
}

}  // namespace tervela
