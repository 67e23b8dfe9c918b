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
#include "conversion/grid_point_scale.h"

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

// Takes the pieces of one record (LayOutRecord) straight into the writers'
// buffers, the free text streamed piece by piece from the input.
class StreamedLines {
 public:
  explicit StreamedLines(const TRunFiles& files) : files_(files) {}

  template <class Format>
  Status Put(RunFile file, Format format) {
    io::BufferedWriter& writer = *files_.writer(file);
    Result<char*> space = writer.Reserve(io::BufferedWriter::kMaxReserve);
    if (!space.ok()) return space.error();
    writer.Commit(format(space.value()));
    return {};
  }

  Status PutFreeText(bool scripts) {
    for (;;) {
      Result<std::string_view> piece = files_.input->NextFreeTextPiece();
      if (!piece.ok()) return piece.error();
      if (piece.value().empty()) return {};
      if (files_.sink) free_text.append(piece.value());
      Status written = files_.output->Write(piece.value());
      if (written && scripts) written = files_.text_script->Write(piece.value());
      if (!written) return written;
    }
  }

  // The free text streamed, kept for the sink when there is one.
  std::string free_text;

 private:
  const TRunFiles& files_;
};

// An error of a record's numbers or of their conversion, as opposed to one
// of a file or of a settings text (which comes placed already).
bool RecordError(const Error& error) {
  if (error.line() != 0) return false;
  if (error.kind() == ErrorKind::File) return error.code() == file_error::kInvalidNumericInput;
  return error.kind() == ErrorKind::FloatingPoint || error.kind() == ErrorKind::NotConverged ||
         error.kind() == ErrorKind::OutOfRange;
}

class RecordLoop {
 public:
  RecordLoop(PointConverter& converter, TRunFiles& files, RunObserver* observer,
             RunWarnings& warnings)
      : converter_(converter), files_(files), observer_(observer), warnings_(warnings) {}

  // Records are converted one at a time until every system is taken, so
  // that each is taken at the record where a single conversion would take
  // it; the rest go through the chunk pipeline.
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

  // The records written so far; after a failure, those before the failing one.
  std::uint64_t records_written() const { return records_written_; }

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
    for (RecordChunk& chunk : chunks) chunk.warnings = warnings_.Watching();
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
        chunk.keep_grid_scales = chunk.keep_positions && files_.sink->WantsGridScale();
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
    for (const RunFile file :
         {RunFile::Output, RunFile::TextScript, RunFile::PointScript, RunFile::NumberScript}) {
      io::BufferedWriter* const writer = files_.writer(file);
      if (writer == nullptr) continue;
      const LineBuffer& lines = chunk.lines[static_cast<std::size_t>(file)];
      if (Status written = writer->Write({lines.data(), lines.size()}); !written) return written;
    }
    records_written_ += chunk.records;
    warnings_.Add(chunk.warnings);
    if (files_.sink) {
      const char* const output = chunk.lines[static_cast<std::size_t>(RunFile::Output)].data();
      for (const RecordChunk::MappedRecord& record : chunk.mapped) {
        const TWrittenRecord written{
            record.position,
            {output + record.fields_begin, record.fields_end - record.fields_begin},
            {output + record.fields_end, record.text_end - record.fields_end}};
        if (Status told = files_.sink->Written(written); !told) return told;
      }
    }
    return chunk.error;
  }

  // Reads, converts and writes the next record, its free text streamed
  // piece by piece.
  Status ConvertOneRecord() {
    if (Status taken = converter_.TakeSourceSystem(); !taken) return taken;
    double first = 0, second = 0;
    if (Status read = ReadNumbers(first, second); !read) return read;
    if (Status converted = converter_.ConvertReading(first, second, point_, &wgs84_); !converted) {
      return converted;
    }
    StreamedLines lines(files_);
    const auto number = static_cast<std::int64_t>(records_written_ + 1);
    Status written = LayOutRecord(lines, converter_.direction(), files_.text_script != nullptr,
                                  point_, number);
    if (!written) return written;
    ++records_written_;
    warnings_.Judge(converter_, point_);
    return files_.sink ? TellSink(first, second, lines.free_text) : Status();
  }

  // Tells the sink of the record just converted on its own.
  Status TellSink(double first, double second, std::string_view free_text) {
    TRecordPosition position = PositionOf(converter_.direction(), first_token_.view(),
                                          second_token_.view(), first, second, point_, wgs84_);
    if (files_.sink->WantsGridScale()) {
      TGridScale scale;
      if (Status scaled = GridScaleOf(converter_, point_, scale); !scaled) return scaled;
      position.convergence = scale.Convergence;
      position.scale_factor = scale.ScaleFactor;
    }
    char fields[2 * kMaxFixedChars + 32];
    const char* const fields_end = WriteOutputFields(fields, converter_.direction(), point_);
    return files_.sink->Written(
        {position, {fields, static_cast<std::size_t>(fields_end - fields)}, free_text});
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

  PointConverter& converter_;
  TRunFiles& files_;
  RunObserver* observer_;
  RunWarnings& warnings_;
  // The point of the records converted one at a time (the first of a
  // grid-to-grid run, one longer than the input buffer); the others are
  // converted into points of their own on worker threads.
  TWorkingPoint point_;
  TWgs84Position wgs84_;
  // Also the number of the last point in the numbering script; 64 bits so
  // that a huge file never wraps.
  std::uint64_t records_written_ = 0;
  std::uint64_t next_report_ = 0;
  TNumberToken first_token_;
  TNumberToken second_token_;
};

}  // namespace

Status ConvertRecords(PointConverter& converter, TRunFiles& files, RunObserver* observer,
                      RunWarnings& warnings) {
  RecordLoop loop(converter, files, observer, warnings);
  const Status status = loop.Run();
  if (status || !RecordError(status.error())) return status;
  return status.error().At(files.input_name, loop.records_written() + 1);
}

}  // namespace tervela
