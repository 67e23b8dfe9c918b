#include "batch/point_file_conversion.h"

#include <array>
#include <cerrno>
#include <optional>
#include <vector>

#include "batch/point_file_run.h"
#include "batch/record_loop.h"
#include "batch/run_files.h"
#include "io/files.h"

namespace tervela {

namespace {

constexpr std::size_t kOutputBufferSize = 256 * 1024;
constexpr std::size_t kScriptBufferSize = 64 * 1024;

// The three script names in the order they are created.
std::array<std::string, 3> ScriptNames(const std::string& output_name) {
  return {output_name + " text.scr", output_name + " point.scr", output_name + " prognumb.scr"};
}

// The files of one run, opened in the order input, output, text script,
// point script, numbering script; each object closes its file when it goes.
class OpenRun {
 public:
  // Opens the input (or takes `input`), checks that no output is the
  // input or the settings record (when named), then creates the output (or
  // takes `output`) and the scripts.
  Status Open(const TFileConversion& request, io::FileDescriptor input, io::FileDescriptor output,
              const std::string& settings_name) {
    if (!input.is_open()) {
      Result<io::FileDescriptor> opened = io::OpenForReading(request.input_name);
      if (!opened.ok()) return opened.error();
      input = std::move(opened.value());
    }
    const int input_fd = input.get();
    input_.emplace(std::move(input));
    input_name_ = request.input_name;

    std::array<std::string, 4> names;  // output first, then the scripts
    if (!output.is_open()) names[0] = request.output_name;
    if (request.scripts) {
      const std::array<std::string, 3> scripts = ScriptNames(request.output_name);
      std::copy(scripts.begin(), scripts.end(), names.begin() + 1);
    }
    const std::array<int, 1> given_output = {output.get()};
    Status distinct = CheckFilesDistinct(
        input_fd, std::span(&settings_name, 1),
        std::span(given_output.data(), output.is_open() ? 1 : 0), names);
    if (!distinct) return distinct;

    if (!output.is_open()) {
      Result<io::FileDescriptor> created = io::CreateForWriting(request.output_name);
      if (!created.ok()) return created.error();
      output = std::move(created.value());
    }
    output_.emplace(std::move(output), kOutputBufferSize);
    if (!request.scripts) return {};
    for (std::size_t i = 0; i < scripts_.size(); ++i) {
      Result<io::FileDescriptor> created = io::CreateForWriting(names[i + 1]);
      if (!created.ok()) return created.error();
      scripts_[i].emplace(std::move(created.value()), kScriptBufferSize);
    }
    return {};
  }

  // Lets `observer` stop a read of the input that waits for data.
  void WatchInput(RunObserver& observer) {
    input_->SetStopCheck([&observer] { return observer.CancelRequested(); });
  }

  TRunFiles Files() {
    TRunFiles files;
    files.input = &*input_;
    files.input_name = input_name_;
    files.output = &*output_;
    if (scripts_[2]) {
      files.text_script = &*scripts_[0];
      files.point_script = &*scripts_[1];
      files.number_script = &*scripts_[2];
    }
    return files;
  }

  // Closes the input, the output and the scripts in this order, each
  // checked; the first failure is reported once all are closed.
  Status CloseAll() {
    Status first = input_ ? input_->Close() : Status();
    for (io::BufferedWriter* writer : Writers()) {
      Status closed = writer->Close();
      if (first.ok() && !closed.ok()) first = closed;
    }
    return first;
  }

  // Ends a failed run: the lines written so far are flushed and every file
  // is closed. A failing flush belongs to a line written before `error`, so
  // it is the one reported; a failing close comes after `error` and is not.
  Status Abandon(Status error) {
    Status flush_error;
    for (io::BufferedWriter* writer : Writers()) {
      Status flushed = writer->Flush();
      if (flush_error.ok() && !flushed.ok()) flush_error = flushed;
      (void)writer->Close();
    }
    if (input_) (void)input_->Close();
    return flush_error.ok() ? error : flush_error;
  }

 private:
  std::vector<io::BufferedWriter*> Writers() {
    std::vector<io::BufferedWriter*> writers;
    if (output_) writers.push_back(&*output_);
    for (std::optional<io::BufferedWriter>& script : scripts_) {
      if (script) writers.push_back(&*script);
    }
    return writers;
  }

  std::optional<PointReader> input_;
  std::string input_name_;
  std::optional<io::BufferedWriter> output_;
  std::array<std::optional<io::BufferedWriter>, 3> scripts_;
};

}  // namespace

Status ConvertPointFile(const TFileConversion& request, const TSettingsTexts& settings,
                        char decimal_separator, TRunEndpoints endpoints) {
  io::FileDescriptor input(endpoints.input_fd);
  io::FileDescriptor output(endpoints.output_fd);
  PointConverter converter(request.direction, request.method, settings, decimal_separator,
                           endpoints.settings_name);

  // Every direction but the grid-to-grid ones reads its parameter set before
  // any file is touched.
  if (!GridToGrid(request.direction)) {
    if (Status read = converter.ReadSourceSystem(); !read) return read;
  }

  OpenRun files;
  Status status = files.Open(request, std::move(input), std::move(output), endpoints.settings_name);
  if (status) {
    if (endpoints.observer) files.WatchInput(*endpoints.observer);
    TRunFiles open = files.Files();
    status = ConvertRecords(converter, open, endpoints.observer);
  }
  // A read stopped while it waited for data ends the run as a cancel does at
  // a record boundary: the whole lines written so far are kept.
  if (!status && status.error().errno_value() == ECANCELED) return files.Abandon(Status());
  if (!status) return files.Abandon(status);
  return files.CloseAll();
}

Status ConvertPointFile(const TFileConversion& request, const TSettingsTexts& settings,
                        char decimal_separator) {
  return ConvertPointFile(request, settings, decimal_separator, TRunEndpoints{});
}

}  // namespace tervela
