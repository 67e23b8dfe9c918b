#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/result.h"
#include "batch/record_sink.h"
#include "conversion/point_converter.h"

namespace tervela {

// Bytes appended without being cleared first, grown as needed.
class LineBuffer {
 public:
  const char* data() const { return bytes_.get(); }
  std::size_t size() const { return size_; }
  void clear() { size_ = 0; }
  // Room for `count` more bytes at the end; Commit() then takes them up to `end`.
  char* Reserve(std::size_t count);
  void Commit(const char* end) { size_ = static_cast<std::size_t>(end - bytes_.get()); }

 private:
  std::unique_ptr<char[]> bytes_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

// The pieces one converted record writes, as ends of its bytes in
// RecordChunk::lines, in the order they follow each other there: the output
// line up to the free text, the text script line up to the free text (empty
// without scripts), the free text without CRs, the point script line, the
// numbering script line (both empty without scripts).
struct RecordPieces {
  std::uint32_t fields_end, text_start_end, free_text_end, point_line_end, number_line_end;
};

// A run of whole records taken from the input, and what converting them
// gives. A worker fills `lines`, `records` and `error` from `input`.
struct RecordChunk {
  std::string input;
  // The numbering script's number of the first record.
  std::uint64_t first_number = 1;
  LineBuffer lines;
  std::vector<RecordPieces> records;
  // The failure of the record after the last one in `records`, if any.
  Status error;
  // Whether to fill `positions`, one per element of `records` (their tokens
  // point into `input`), for a run that draws its points.
  bool keep_positions = false;
  std::vector<TRecordPosition> positions;
};

// Converts the records of `chunk.input` in order with `converter` (which must
// be Ready), stopping at the first that fails, as converting them one after
// another would. Touches nothing but `chunk`, so chunks may be converted on
// several threads at once.
void ConvertChunk(const PointConverter& converter, bool scripts, RecordChunk& chunk);

}  // namespace tervela
