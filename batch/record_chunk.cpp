#include "batch/record_chunk.h"

#include <algorithm>

#include "batch/record_lines.h"
#include "batch/record_text.h"
#include "common/number_text.h"

namespace tervela {

namespace {

// Room that one formatted piece may take (record_lines.h).
constexpr std::size_t kPieceRoom = 2 * kMaxFixedChars + 32;

// Reads both numbers; a malformed one fails with the first number's error.
Status ReadNumbers(const RecordText& record, double& first, double& second) {
  const Result<double> first_value = TokenValue(record.first);
  const Result<double> second_value = TokenValue(record.second);
  if (!first_value.ok()) return first_value.error();
  if (!second_value.ok()) return second_value.error();
  first = first_value.value();
  second = second_value.value();
  return {};
}

}  // namespace

char* LineBuffer::Reserve(std::size_t count) {
  if (capacity_ - size_ < count) {
    const std::size_t capacity = std::max(2 * capacity_, size_ + count);
    auto bytes = std::make_unique_for_overwrite<char[]>(capacity);
    std::copy(bytes_.get(), bytes_.get() + size_, bytes.get());
    bytes_ = std::move(bytes);
    capacity_ = capacity;
  }
  return bytes_.get() + size_;
}

void ConvertChunk(const PointConverter& converter, bool scripts, RecordChunk& chunk) {
  chunk.lines.clear();
  chunk.records.clear();
  chunk.error = Status();
  const TConversionDirection direction = converter.direction();
  const char* next = chunk.input.data();
  const char* const end = next + chunk.input.size();
  std::uint64_t number = chunk.first_number;
  while (next < end) {
    const RecordText record = SplitRecord(&next, end);
    double first = 0, second = 0;
    TWorkingPoint point;
    if (Status read = ReadNumbers(record, first, second); !read) {
      chunk.error = read;
      return;
    }
    if (Status converted = converter.Convert(first, second, point); !converted) {
      chunk.error = converted;
      return;
    }

    char* out = chunk.lines.Reserve(4 * kPieceRoom + record.free_text.size());
    const char* const base = chunk.lines.data();
    RecordPieces pieces;
    out = WriteOutputFields(out, direction, point);
    pieces.fields_end = static_cast<std::uint32_t>(out - base);
    if (scripts) out = WriteTextLineStart(out, point);
    pieces.text_start_end = static_cast<std::uint32_t>(out - base);
    out = std::remove_copy(record.free_text.begin(), record.free_text.end(), out, '\r');
    pieces.free_text_end = static_cast<std::uint32_t>(out - base);
    if (scripts) out = WritePointLine(out, point);
    pieces.point_line_end = static_cast<std::uint32_t>(out - base);
    if (scripts) out = WriteNumberLine(out, point, static_cast<std::int64_t>(number));
    pieces.number_line_end = static_cast<std::uint32_t>(out - base);
    chunk.lines.Commit(out);
    chunk.records.push_back(pieces);
    ++number;
  }
}

}  // namespace tervela
