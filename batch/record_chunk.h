#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include <vector>

#include "batch/record_sink.h"
#include "batch/run_warnings.h"
#include "common/result.h"
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

// A run of whole records taken from the input, and what converting them
// gives. A worker fills `lines`, `records` and `error` from `input`.
struct RecordChunk {
  std::string input;
  // The numbering script's number of the first record.
  std::uint64_t first_number = 1;
  // What the converted records add to each file of the run, indexed by
  // RunFile (record_lines.h); the scripts' lines stay empty without scripts.
  std::array<LineBuffer, 4> lines;
  // How many records were converted.
  std::size_t records = 0;
  // The failure of the record after the last one in `records`, if any.
  Status error;
  // What the converted records call for at the run's end.
  RunWarnings warnings;
  // Whether to fill `mapped`, one per converted record, for a run that
  // writes map files.
  bool keep_positions = false;
  // Whether those positions carry their grid convergence and scale factor.
  bool keep_grid_scales = false;
  // A converted record's position (its tokens point into `input`) and where
  // its output fields and free text lie in the output's lines.
  struct MappedRecord {
    TRecordPosition position;
    std::size_t fields_begin, fields_end, text_end;
  };
  std::vector<MappedRecord> mapped;
};

// Converts the records of `chunk.input` in order with `converter` (which must
// be Ready), stopping at the first that fails, as converting them one after
// another would. Touches nothing but `chunk`, so chunks may be converted on
// several threads at once.
void ConvertChunk(const PointConverter& converter, bool scripts, RecordChunk& chunk);

}  // namespace tervela
