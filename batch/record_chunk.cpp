#include "batch/record_chunk.h"

#include <algorithm>
#include <optional>
#include <span>
#include <utility>

#include "batch/record_lines.h"
#include "batch/record_text.h"
#include "common/number_text.h"
#include "conversion/grid_point_scale.h"

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

// Takes the pieces of one record (LayOutRecord) at the ends of the chunk's
// lines of their files.
class ChunkLines {
 public:
  ChunkLines(RecordChunk& chunk, std::string_view free_text)
      : chunk_(chunk), free_text_(free_text) {}

  template <class Format>
  Status Put(RunFile file, Format format) {
    LineBuffer& lines = Lines(file);
    lines.Commit(format(lines.Reserve(kPieceRoom)));
    return {};
  }

  Status PutFreeText(bool scripts) {
    fields_end = Lines(RunFile::Output).size();
    AppendFreeText(Lines(RunFile::Output));
    text_end = Lines(RunFile::Output).size();
    if (scripts) AppendFreeText(Lines(RunFile::TextScript));
    return {};
  }

  // Where the record's output fields end and its free text ends in the
  // output's lines, once laid out.
  std::size_t fields_end = 0, text_end = 0;

 private:
  LineBuffer& Lines(RunFile file) { return chunk_.lines[static_cast<std::size_t>(file)]; }

  void AppendFreeText(LineBuffer& lines) {
    char* const out = lines.Reserve(free_text_.size());
    lines.Commit(std::remove_copy(free_text_.begin(), free_text_.end(), out, '\r'));
  }

  RecordChunk& chunk_;
  std::string_view free_text_;
};

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
  for (LineBuffer& lines : chunk.lines) lines.clear();
  chunk.records = 0;
  chunk.mapped.clear();
  chunk.error = Status();
  chunk.warnings.Clear();
  const TConversionDirection direction = converter.direction();
  const char* next = chunk.input.data();
  const char* const end = next + chunk.input.size();
  std::uint64_t number = chunk.first_number;
  // Reused group after group: ConvertAll writes every field a point's chain
  // reads before it reads it.
  ReadRecord records[kRecordsAtOnce];
  std::pair<double, double> readings[kRecordsAtOnce];
  TWorkingPoint points[kRecordsAtOnce];
  TWgs84Position wgs84[kRecordsAtOnce];
  Status converted[kRecordsAtOnce];
  TGridScale scales[kRecordsAtOnce];
  Status scaled[kRecordsAtOnce];
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

    converter.ConvertAll(std::span(readings, count), points, wgs84, converted);
    if (chunk.keep_grid_scales) {
      std::size_t good = 0;
      while (good < count && converted[good]) ++good;
      GridScalesOf(converter, std::span(points, good), scales, scaled);
    }
    for (std::size_t i = 0; i < count; ++i) {
      if (!converted[i] || (chunk.keep_grid_scales && !scaled[i])) {
        chunk.error = !converted[i] ? converted[i] : scaled[i];
        return;
      }
      std::optional<TRecordPosition> position;
      if (chunk.keep_positions) {
        const ReadRecord& record = records[i];
        position = PositionOf(direction, record.text.first, record.text.second, record.first,
                              record.second, points[i], wgs84[i]);
        if (chunk.keep_grid_scales) {
          position->convergence = scales[i].Convergence;
          position->scale_factor = scales[i].ScaleFactor;
        }
      }
      const std::size_t fields_begin = chunk.lines[static_cast<std::size_t>(RunFile::Output)].size();
      ChunkLines lines(chunk, records[i].text.free_text);
      (void)LayOutRecord(lines, direction, scripts, points[i], static_cast<std::int64_t>(number++));
      if (position) chunk.mapped.push_back({*position, fields_begin, lines.fields_end, lines.text_end});
      chunk.warnings.Judge(converter, points[i]);
      ++chunk.records;
    }
    if (!read) {
      chunk.error = read;
      return;
    }
  }
}

}  // namespace tervela
