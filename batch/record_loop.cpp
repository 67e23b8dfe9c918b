#include "batch/record_loop.h"

#include <cstdint>
#include <optional>

#include "batch/record_lines.h"
#include "common/number_text.h"

namespace tervela {

namespace {

// The value of a number token; an empty token (the data ended while
// skipping blanks) is 0.
Result<double> TokenValue(const TNumberToken& token) {
  if (token.length == 0) return 0.0;
  return ParseFileNumber(token.view());
}

// Formats a line piece straight into a writer's buffer.
template <class Format>
Status WritePiece(BufferedWriter& writer, Format format) {
  Result<char*> space = writer.Reserve(BufferedWriter::kMaxReserve);
  if (!space.ok()) return space.error();
  writer.Commit(format(space.value()));
  return {};
}

class RecordLoop {
 public:
  RecordLoop(const TRunSettings& settings, TEngineRecords& engine, TRunFiles& files)
      : settings_(settings), engine_(engine), files_(files) {}

  Status Run() {
    for (;;) {
      Result<bool> exhausted = files_.input->Exhausted();
      if (!exhausted.ok()) return exhausted.error();
      if (exhausted.value()) return {};
      Status done = ConvertOneRecord();
      if (!done) return done;
    }
  }

 private:
  Status ConvertOneRecord() {
    const TConversionDirection direction = settings_.direction;
    if (GridToGrid(direction) && !source_set_) {
      // The texts cannot change during a run: each system is parsed once, at
      // the moment its first reading would have failed.
      Status read = ReadSet(SourceSystem(direction));
      if (!read) return read;
      source_set_ = engine_.set;
    }
    Result<double> first = 0.0, second = 0.0;
    Status read = ReadNumbers(first, second);
    if (!read) return read;

    TWorkingPoint& point = engine_.point;
    if (FromWgs(direction)) {
      point.Latitude = first.value();
      point.Longitude = second.value();
      Status converted = GeographicToGrid(engine_.set, settings_.method, point);
      if (!converted) return converted;
    } else {
      point.TargetNorthing = first.value();
      point.TargetEasting = second.value();
      const TParameterSet& source = source_set_ ? *source_set_ : engine_.set;
      Status inverted = GridToGeographic(source, settings_.method, point);
      if (!inverted) return inverted;
      if (GridToGrid(direction)) {
        if (!target_set_) {
          Status target_read = ReadSet(TargetSystem(direction));
          if (!target_read) return target_read;
          target_set_ = engine_.set;
        }
        Status projected = GeographicToGrid(*target_set_, settings_.method, point);
        if (!projected) return projected;
      }
    }
    return WriteRecord();
  }

  Status ReadSet(TLocalSystem system) {
    return ReadParameterSet(ParameterTexts(*settings_.texts, system), settings_.decimal_separator,
                            engine_.set);
  }

  // Reads both numbers and, when one is malformed, the rest of the record
  // before failing with the first number's error.
  Status ReadNumbers(Result<double>& first, Result<double>& second) {
    PointReader& input = *files_.input;
    Status read = input.ReadToken(first_token_);
    if (read) read = input.ReadToken(second_token_);
    if (read) read = input.BufferRestOfLine();
    if (!read) return read;
    first = TokenValue(first_token_);
    second = TokenValue(second_token_);
    if (first.ok() && second.ok()) return {};
    Status skipped = input.SkipRestOfLine();
    if (!skipped) return skipped;
    return first.ok() ? second.error() : first.error();
  }

  // The output line and the script lines of the converted record; the free
  // text is streamed from the input into the output and the text script.
  Status WriteRecord() {
    const TWorkingPoint& point = engine_.point;
    const TConversionDirection direction = settings_.direction;
    Status written = WritePiece(*files_.output, [&](char* out) {
      return WriteOutputFields(out, direction, point);
    });
    if (written && files_.text_script) {
      written = WritePiece(*files_.text_script, [&](char* out) { return WriteTextLineStart(out, point); });
    }
    while (written) {
      Result<std::string_view> piece = files_.input->NextFreeTextPiece();
      if (!piece.ok()) return piece.error();
      if (piece.value().empty()) break;
      written = files_.output->Write(piece.value());
      if (written && files_.text_script) written = files_.text_script->Write(piece.value());
    }
    if (written) written = files_.output->Write(kLineEnd);
    if (!files_.text_script || !written) return written;
    written = WritePiece(*files_.point_script, [&](char* out) { return WritePointLine(out, point); });
    if (written) written = files_.text_script->Write(kLineEnd);
    if (!written) return written;
    ++point_counter_;
    return WritePiece(*files_.number_script,
                      [&](char* out) { return WriteNumberLine(out, point, point_counter_); });
  }

  const TRunSettings& settings_;
  TEngineRecords& engine_;
  TRunFiles& files_;
  std::optional<TParameterSet> source_set_;
  std::optional<TParameterSet> target_set_;
  TNumberToken first_token_;
  TNumberToken second_token_;
  // Numbers the points from 1; 64 bits so that a huge file never wraps.
  std::int64_t point_counter_ = 0;
};

}  // namespace

Status ConvertRecords(const TRunSettings& settings, TEngineRecords& engine, TRunFiles& files) {
  return RecordLoop(settings, engine, files).Run();
}

}  // namespace tervela
