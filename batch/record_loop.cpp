#include "batch/record_loop.h"

#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "batch/record_lines.h"
#include "common/number_text.h"

namespace tervela {

namespace {

// Records converted together by the two threads of a grid-to-WGS84 or
// grid-to-grid run, and the room for their free texts.
constexpr std::size_t kBatchRecords = 4096;
constexpr std::size_t kBatchTextBytes = 512 * 1024;
// Records between two calls of the observer.
constexpr std::uint64_t kReportInterval = 4096;
// Below this a batch is not worth a second thread.
constexpr std::size_t kParallelMinimum = 64;

// True for the usual shape "[-]digits[.digits]", which std::from_chars
// reads exactly as ParseFileNumber does and which cannot overflow.
bool IsPlainDecimal(std::string_view text) {
  std::size_t i = !text.empty() && text[0] == '-' ? 1 : 0;
  const std::size_t integer_begin = i;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
  if (i == integer_begin) return false;
  if (i == text.size()) return true;
  if (text[i] != '.') return false;
  const std::size_t fraction_begin = ++i;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
  return i > fraction_begin && i == text.size();
}

// The value of a number token; an empty token (the data ended while
// skipping blanks) is 0.
Result<double> TokenValue(const TNumberToken& token) {
  if (token.length == 0) return 0.0;
  const std::string_view text = token.view();
  if (!IsPlainDecimal(text)) return ParseFileNumber(text);
  double value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

// Formats a line piece straight into a writer's buffer.
template <class Format>
Status WritePiece(io::BufferedWriter& writer, Format format) {
  Result<char*> space = writer.Reserve(io::BufferedWriter::kMaxReserve);
  if (!space.ok()) return space.error();
  writer.Commit(format(space.value()));
  return {};
}

// A record read ahead, its free text kept in the batch's text.
struct BatchRecord {
  double first, second;
  std::size_t text_begin, text_size;
  TWorkingPoint point;
  Status status;
};

class RecordLoop {
 public:
  RecordLoop(PointConverter& converter, TRunFiles& files, RunObserver* observer,
             TWorkingPoint& point)
      : converter_(converter), files_(files), observer_(observer), point_(point) {}

  Status Run() {
    for (;;) {
      if (observer_ && records_written_ >= next_report_) {
        next_report_ = records_written_ + kReportInterval;
        observer_->Progress(files_.input->bytes_read(), records_written_);
        if (observer_->CancelRequested()) return {};
      }
      Result<bool> exhausted = files_.input->Exhausted();
      if (!exhausted.ok()) return exhausted.error();
      if (exhausted.value()) {
        if (observer_) observer_->Progress(files_.input->bytes_read(), records_written_);
        return {};
      }
      Status done = Batched() ? ConvertBatch() : ConvertOneRecord();
      if (!done) return done;
    }
  }

 private:
  // The inversion dominates the directions from a grid, so once every
  // parameter set is read their records are converted in batches on two
  // threads. Until then records are converted one at a time, so that each set
  // is read at the record where a single conversion would read it. Reading
  // and writing stay in record order, so the files and the first error are
  // those of converting one record after another.
  bool Batched() const { return converter_.Ready() && !FromWgs(converter_.direction()); }

  Status ConvertOneRecord() {
    if (Status read = converter_.ReadSourceSystem(); !read) return read;
    double first = 0, second = 0;
    if (Status read = ReadNumbers(first, second); !read) return read;
    if (Status converted = converter_.ConvertReading(first, second, point_); !converted) {
      return converted;
    }
    return WriteRecord(point_, [this] { return files_.input->NextFreeTextPiece(); });
  }

  void ConvertBatchRecord(BatchRecord& record) const {
    record.status = converter_.Convert(record.first, record.second, record.point);
  }

  Status ConvertBatch() {
    batch_.clear();
    batch_text_.clear();
    Status read_error;
    std::optional<std::pair<double, double>> streamed_record;
    PointReader& input = *files_.input;
    while (batch_.size() < kBatchRecords && read_error.ok()) {
      Result<bool> exhausted = input.Exhausted();
      if (!exhausted.ok()) read_error = exhausted.error();
      if (!exhausted.ok() || exhausted.value()) break;
      BatchRecord record{};
      read_error = ReadNumbers(record.first, record.second);
      if (!read_error) break;
      const std::optional<std::size_t> length = input.BufferedLineLength();
      if (!length || batch_text_.size() + *length > kBatchTextBytes) {
        // A line too long to keep: converted after the batch, its free text
        // streamed.
        streamed_record.emplace(record.first, record.second);
        break;
      }
      record.text_begin = batch_text_.size();
      for (;;) {
        Result<std::string_view> piece = input.NextFreeTextPiece();
        if (!piece.ok()) read_error = piece.error();
        if (!piece.ok() || piece.value().empty()) break;
        batch_text_.append(piece.value());
      }
      record.text_size = batch_text_.size() - record.text_begin;
      if (read_error) batch_.push_back(record);
    }

    ConvertBatchRecords();
    for (const BatchRecord& record : batch_) {
      point_ = record.point;
      if (!record.status) return record.status;
      const std::string_view text(batch_text_.data() + record.text_begin, record.text_size);
      bool given = false;
      Status written = WriteRecord(record.point, [&]() -> Result<std::string_view> {
        return std::exchange(given, true) ? std::string_view() : text;
      });
      if (!written) return written;
    }
    if (!read_error || !streamed_record) return read_error;
    Status converted = converter_.Convert(streamed_record->first, streamed_record->second, point_);
    if (!converted) return converted;
    return WriteRecord(point_, [&input] { return input.NextFreeTextPiece(); });
  }

  // Converts the first half of the batch on a second thread and the rest on
  // this one.
  void ConvertBatchRecords() {
    const std::size_t half = batch_.size() / 2;
    std::optional<std::thread> helper;
    if (batch_.size() >= kParallelMinimum) {
      try {
        helper.emplace([this, half] {
          for (std::size_t i = 0; i < half; ++i) ConvertBatchRecord(batch_[i]);
        });
      } catch (const std::system_error&) {
        // No thread to be had: this thread converts the whole batch.
      }
    }
    for (std::size_t i = helper ? half : 0; i < batch_.size(); ++i) ConvertBatchRecord(batch_[i]);
    if (helper) helper->join();
  }

  // Reads both numbers and, when one is malformed, the rest of the record
  // before failing with the first number's error.
  Status ReadNumbers(double& first, double& second) {
    PointReader& input = *files_.input;
    Status read = input.ReadToken(first_token_);
    if (read) read = input.ReadToken(second_token_);
    if (read) read = input.BufferRestOfLine();
    if (!read) return read;
    const Result<double> first_value = TokenValue(first_token_);
    const Result<double> second_value = TokenValue(second_token_);
    if (first_value.ok() && second_value.ok()) {
      first = first_value.value();
      second = second_value.value();
      return {};
    }
    Status skipped = input.SkipRestOfLine();
    if (!skipped) return skipped;
    return first_value.ok() ? second_value.error() : first_value.error();
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
  std::vector<BatchRecord> batch_;
  std::string batch_text_;
};

}  // namespace

Status ConvertRecords(PointConverter& converter, TRunFiles& files, RunObserver* observer,
                      TWorkingPoint& point) {
  return RecordLoop(converter, files, observer, point).Run();
}

}  // namespace tervela
