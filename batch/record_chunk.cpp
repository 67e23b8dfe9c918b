#include "batch/record_chunk.h"

#include <algorithm>
#include <span>
#include <utility>

#include "batch/record_lines.h"
#include "batch/record_text.h"
#include "common/number_text.h"

namespace tervela {

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

namespace {

// Room that one formatted piece may take (record_lines.h).
constexpr std::size_t kPieceRoom = 2 * kMaxFixedChars + 32;

// Formats the pieces of one converted record at the end of the chunk's lines.
void AppendRecord(RecordChunk& chunk, TConversionDirection direction, bool scripts,
                  std::string_view free_text, const TWorkingPoint& point, std::uint64_t number) {
  char* out = chunk.lines.Reserve(4 * kPieceRoom + free_text.size());
  const char* const base = chunk.lines.data();
  RecordPieces pieces;
  out = WriteOutputFields(out, direction, point);
  pieces.fields_end = static_cast<std::uint32_t>(out - base);
  if (scripts) out = WriteTextLineStart(out, point);
  pieces.text_start_end = static_cast<std::uint32_t>(out - base);
  out = std::remove_copy(free_text.begin(), free_text.end(), out, '\r');
  pieces.free_text_end = static_cast<std::uint32_t>(out - base);
  if (scripts) out = WritePointLine(out, point);
  pieces.point_line_end = static_cast<std::uint32_t>(out - base);
  if (scripts) out = WriteNumberLine(out, point, static_cast<std::int64_t>(number));
  pieces.number_line_end = static_cast<std::uint32_t>(out - base);
  chunk.lines.Commit(out);
  chunk.records.push_back(pieces);
}

// A record split and its numbers read.
struct ReadRecord {
  RecordText text;
  double first = 0, second = 0;
  Status read;
};

// Splits the record at `*next` into `record` and reads its numbers, filling
// the record in place (it is reused record after record).
void ReadNextRecord(const char** next, const char* end, ReadRecord& record) {
  record.text = SplitRecord(next, end);
  record.read = ReadNumbers(record.text.first, record.text.second, record.first, record.second);
}

}  // namespace

// Records go kRecordsAtOnce at a time where they can, so that inversions run
// side by side; failures are still taken in record order: a record's bad
// number or failed conversion ends the chunk after the records before it.
void ConvertChunk(const PointConverter& converter, bool scripts, RecordChunk& chunk) {
  constexpr std::size_t kRecordsAtOnce = 8;
  chunk.lines.clear();
  chunk.records.clear();
  chunk.positions.clear();
  chunk.error = Status();
  const TConversionDirection direction = converter.direction();
  const char* next = chunk.input.data();
  const char* const end = next + chunk.input.size();
  std::uint64_t number = chunk.first_number;
  // Reused group after group: ConvertAll writes every field a point's chain
  // reads before it reads it.
  ReadRecord records[kRecordsAtOnce];
  std::pair<double, double> readings[kRecordsAtOnce];
  TWorkingPoint points[kRecordsAtOnce];
  Status converted[kRecordsAtOnce];
  while (next < end) {
    // The records up to the next kRecordsAtOnce or the first bad number.
    std::size_t count = 0;
    Status read;
    while (count < kRecordsAtOnce && next < end) {
      ReadRecord& record = records[count];
      ReadNextRecord(&next, end, record);
      if (!record.read) {
        read = record.read;
        break;
      }
      readings[count++] = {record.first, record.second};
    }

    converter.ConvertAll(std::span(readings, count), points, converted);
    for (std::size_t i = 0; i < count; ++i) {
      if (!converted[i]) {
        chunk.error = converted[i];
        return;
      }
      if (chunk.keep_positions) {
        const ReadRecord& record = records[i];
        Result<TRecordPosition> position = PositionOf(converter, record.text.first, record.text.second,
                                                      record.first, record.second, points[i]);
        if (!position.ok()) {
          chunk.error = position.error();
          return;
        }
        chunk.positions.push_back(position.value());
      }
      AppendRecord(chunk, direction, scripts, records[i].text.free_text, points[i], number++);
    }
    if (!read) {
      chunk.error = read;
      return;
    }
  }
}

}  // namespace tervela
