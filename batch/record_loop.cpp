#include "batch/record_loop.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <thread>

#include "batch/chunk_workers.h"
#include "batch/record_chunk.h"
#include "batch/record_lines.h"
#include "batch/record_text.h"
#include "common/number_text.h"

namespace tervela {

namespace {

// Records between two calls of the observer while records are converted one
// at a time.
constexpr std::uint64_t kReportInterval = 4096;
// The input bytes of one chunk (some two thousand records of a usual file),
// and the chunks in flight between reading and writing. Together with what
// converting them adds (about four times the input with scripts), this keeps
// a run's memory at a few MiB whatever the file's size.
constexpr std::size_t kChunkBytes = 64 * 1024;
constexpr std::size_t kChunksInFlight = 4;

// Copies a formatted piece into a writer's buffer, reserving as a piece
// formatted there would, so the writer flushes at the same bytes.
Status CopyPiece(io::BufferedWriter& writer, const char* begin, const char* end) {
  Result<char*> space = writer.Reserve(io::BufferedWriter::kMaxReserve);
  if (!space.ok()) return space.error();
  writer.Commit(std::copy(begin, end, space.value()));
  return {};
}

// Formats a line piece straight into a writer's buffer.
template <class Format>
Status WritePiece(io::BufferedWriter& writer, Format format) {
  Result<char*> space = writer.Reserve(io::BufferedWriter::kMaxReserve);
  if (!space.ok()) return space.error();
  writer.Commit(format(space.value()));
  return {};
}

class RecordLoop {
 public:
  RecordLoop(PointConverter& converter, TRunFiles& files, RunObserver* observer,
             TWorkingPoint& point)
      : converter_(converter), files_(files), observer_(observer), point_(point) {}

  // Records are converted one at a time until every parameter set is read,
  // so that each set is read at the record where a single conversion would
  // read it; the rest go through the chunk pipeline.
  Status Run() {
    while (!converter_.Ready()) {
      if (Cancelled()) return {};
      Result<bool> exhausted = files_.input->Exhausted();
      if (!exhausted.ok()) return exhausted.error();
      if (exhausted.value()) return Finished();
      if (Status done = ConvertOneRecord(); !done) return done;
    }
    return RunPipeline();
  }

 private:
  // Reports the progress every kReportInterval records and asks whether to
  // stop.
  bool Cancelled() {
    if (!observer_ || records_written_ < next_report_) return false;
    next_report_ = records_written_ + kReportInterval;
    observer_->Progress(files_.input->bytes_read(), records_written_);
    return observer_->CancelRequested();
  }

  Status Finished() {
    if (observer_) observer_->Progress(files_.input->bytes_read(), records_written_);
    return {};
  }

  // Reading and writing overlap converting: this thread takes runs of whole
  // records from the input into chunks, worker threads convert and format
  // them, and this thread writes them out in record order, one record after
  // another as a one-at-a-time run would. A failure in a chunk is reported
  // after the records before it are written; a record longer than the input
  // buffer is read and converted on its own, streamed, once the chunks
  // before it are written.
  Status RunPipeline() {
    std::array<RecordChunk, kChunksInFlight> chunks;
    // One worker per core, no more than there are chunks to convert.
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    ChunkWorkers workers(converter_, files_.text_script != nullptr,
                         std::min(cores, static_cast<unsigned>(kChunksInFlight)));
    std::size_t submitted = 0, written = 0;
    std::uint64_t records_taken = records_written_;
    Status input_error;
    bool input_done = false, long_record = false;
    for (;;) {
      while (!input_done && !long_record && submitted - written < chunks.size()) {
        Result<bool> exhausted = files_.input->Exhausted();
        if (!exhausted.ok() || exhausted.value()) {
          if (!exhausted.ok()) input_error = exhausted.error();
          input_done = true;
          break;
        }
        RecordChunk& chunk = chunks[submitted % chunks.size()];
        chunk.input.clear();
        Result<std::size_t> taken = files_.input->TakeRecords(chunk.input, kChunkBytes);
        if (!taken.ok()) {
          input_error = taken.error();
          input_done = true;
          break;
        }
        if (taken.value() == 0) {
          long_record = true;
          break;
        }
        chunk.first_number = records_taken + 1;
        chunk.keep_positions = files_.sink != nullptr;
        records_taken += taken.value();
        workers.Submit(chunk);
        ++submitted;
      }
      if (written == submitted) {
        if (!long_record) return input_error.ok() ? Finished() : input_error;
        long_record = false;
        if (Status done = ConvertOneRecord(); !done) return done;
        records_taken = records_written_;
        continue;
      }
      workers.Wait();
      if (Status done = WriteChunk(chunks[written % chunks.size()]); !done) return done;
      ++written;
      if (observer_) {
        observer_->Progress(files_.input->bytes_read(), records_written_);
        if (observer_->CancelRequested()) return {};
      }
    }
  }

  // Writes the converted records of a chunk, then reports its failure.
  Status WriteChunk(const RecordChunk& chunk) {
    const char* const lines = chunk.lines.data();
    const char* piece = lines;
    for (const RecordPieces& record : chunk.records) {
      const char* const fields_end = lines + record.fields_end;
      const char* const text_start_end = lines + record.text_start_end;
      const std::string_view free_text(text_start_end, record.free_text_end - record.text_start_end);
      Status written = CopyPiece(*files_.output, piece, fields_end);
      if (written && files_.text_script) written = CopyPiece(*files_.text_script, fields_end, text_start_end);
      if (written && !free_text.empty()) {
        written = files_.output->Write(free_text);
        if (written && files_.text_script) written = files_.text_script->Write(free_text);
      }
      if (written) written = files_.output->Write(kLineEnd);
      if (!written) return written;
      ++records_written_;
      if (files_.text_script) {
        written = CopyPiece(*files_.point_script, lines + record.free_text_end, lines + record.point_line_end);
        if (written) written = files_.text_script->Write(kLineEnd);
        if (written) {
          written = CopyPiece(*files_.number_script, lines + record.point_line_end,
                              lines + record.number_line_end);
        }
        if (!written) return written;
      }
      if (files_.sink) {
        const std::size_t index = static_cast<std::size_t>(&record - chunk.records.data());
        written = files_.sink->Written({chunk.positions[index], {piece, fields_end},
                                        {text_start_end, record.free_text_end - record.text_start_end}});
        if (!written) return written;
      }
      piece = lines + record.number_line_end;
    }
    return chunk.error;
  }

  // Reads, converts and writes the next record, its free text streamed
  // piece by piece.
  Status ConvertOneRecord() {
    if (Status read = converter_.ReadSourceSystem(); !read) return read;
    double first = 0, second = 0;
    if (Status read = ReadNumbers(first, second); !read) return read;
    if (Status converted = converter_.ConvertReading(first, second, point_); !converted) {
      return converted;
    }
    sink_text_.clear();
    Status written = WriteRecord(point_, [this] {
      Result<std::string_view> piece = files_.input->NextFreeTextPiece();
      if (files_.sink && piece.ok()) sink_text_.append(piece.value());
      return piece;
    });
    if (!written || !files_.sink) return written;
    Result<TRecordPosition> position =
        PositionOf(converter_, first_token_.view(), second_token_.view(), first, second, point_);
    if (!position.ok()) return position.error();
    char fields[2 * kMaxFixedChars + 32];
    const char* const fields_end = WriteOutputFields(fields, converter_.direction(), point_);
    return files_.sink->Written({position.value(), {fields, fields_end}, sink_text_});
  }

  // Reads both numbers and, when one is malformed, the rest of the record
  // before failing with the first number's error.
  Status ReadNumbers(double& first, double& second) {
    PointReader& input = *files_.input;
    Status read = input.ReadToken(first_token_);
    if (read) read = input.ReadToken(second_token_);
    if (read) read = input.BufferRestOfLine();
    if (!read) return read;
    const Status values = tervela::ReadNumbers(first_token_.view(), second_token_.view(), first, second);
    if (values) return values;
    if (Status skipped = input.SkipRestOfLine(); !skipped) return skipped;
    return values;
  }

  // The output line and the script lines of a converted record; the free
  // text comes piece by piece from `next_piece` (empty at its end) into the
  // output and the text script.
  template <class NextPiece>
  Status WriteRecord(const TWorkingPoint& point, NextPiece next_piece) {
    const TConversionDirection direction = converter_.direction();
    Status written = WritePiece(*files_.output, [&](char* out) {
      return WriteOutputFields(out, direction, point);
    });
    if (written && files_.text_script) {
      written = WritePiece(*files_.text_script, [&](char* out) { return WriteTextLineStart(out, point); });
    }
    while (written) {
      Result<std::string_view> piece = next_piece();
      if (!piece.ok()) return piece.error();
      if (piece.value().empty()) break;
      written = files_.output->Write(piece.value());
      if (written && files_.text_script) written = files_.text_script->Write(piece.value());
    }
    if (written) written = files_.output->Write(kLineEnd);
    if (written) ++records_written_;
    if (!files_.text_script || !written) return written;
    written = WritePiece(*files_.point_script, [&](char* out) { return WritePointLine(out, point); });
    if (written) written = files_.text_script->Write(kLineEnd);
    if (!written) return written;
    const auto number = static_cast<std::int64_t>(records_written_);
    return WritePiece(*files_.number_script,
                      [&](char* out) { return WriteNumberLine(out, point, number); });
  }

  PointConverter& converter_;
  TRunFiles& files_;
  RunObserver* observer_;
  TWorkingPoint& point_;
  // Also the number of the last point in the numbering script; 64 bits so
  // that a huge file never wraps.
  std::uint64_t records_written_ = 0;
  std::uint64_t next_report_ = 0;
  TNumberToken first_token_;
  TNumberToken second_token_;
  // The free text of the record converted on its own, for the sink.
  std::string sink_text_;
};

}  // namespace

Status ConvertRecords(PointConverter& converter, TRunFiles& files, RunObserver* observer,
                      TWorkingPoint& point) {
  return RecordLoop(converter, files, observer, point).Run();
}

}  // namespace tervela
