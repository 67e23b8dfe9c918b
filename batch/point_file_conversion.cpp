#include "batch/point_file_conversion.h"

#include <unistd.h>

#include <array>
#include <memory>
#include <optional>

#include "batch/buffered_writer.h"
#include "batch/point_file_run.h"
#include "batch/record_loop.h"
#include "batch/run_files.h"

namespace tervela {

namespace {

constexpr std::size_t kOutputBufferSize = 256 * 1024;
constexpr std::size_t kScriptBufferSize = 64 * 1024;

// The three script names in the order they are created.
std::array<std::string, 3> ScriptNames(const std::string& output_name) {
  return {output_name + " text.scr", output_name + " point.scr", output_name + " prognumb.scr"};
}

// Closes a descriptor that the run took over but never used.
struct DescriptorGuard {
  int fd;
  ~DescriptorGuard() {
    if (fd >= 0) ::close(fd);
  }
  int Release() { return std::exchange(fd, -1); }
};

// The files of one run, opened in the order input, output, text script,
// point script, numbering script; each object closes its file when it goes.
class OpenRun {
 public:
  Status Open(const TFileConversion& request, TRunEndpoints& endpoints, DescriptorGuard& input_fd,
              DescriptorGuard& output_fd) {
    int input = input_fd.Release();
    if (input < 0) {
      Result<int> opened = OpenInputFile(request.input_name);
      if (!opened.ok()) return opened.error();
      input = opened.value();
    }
    input_.emplace(input, std::move(endpoints.progress));

    std::array<std::string, 4> names;  // output first, then the scripts
    if (output_fd.fd < 0) names[0] = request.output_name;
    if (request.scripts) {
      const std::array<std::string, 3> scripts = ScriptNames(request.output_name);
      std::copy(scripts.begin(), scripts.end(), names.begin() + 1);
    }
    const std::array<int, 1> given_output = {output_fd.fd};
    Status distinct = CheckFilesDistinct(input, std::span(given_output.data(), output_fd.fd >= 0 ? 1 : 0),
                                         names);
    if (!distinct) return distinct;

    int output = output_fd.Release();
    if (output < 0) {
      Result<int> created = CreateOutputFile(request.output_name);
      if (!created.ok()) return created.error();
      output = created.value();
    }
    output_.emplace(output, kOutputBufferSize);
    if (!request.scripts) return {};
    for (std::size_t i = 0; i < scripts_.size(); ++i) {
      Result<int> created = CreateOutputFile(names[i + 1]);
      if (!created.ok()) return created.error();
      scripts_[i].emplace(created.value(), kScriptBufferSize);
    }
    return {};
  }

  TRunFiles Files() {
    TRunFiles files;
    files.input = &*input_;
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
    for (BufferedWriter* writer : Writers()) {
      Status closed = writer->Close();
      if (first.ok() && !closed.ok()) first = closed;
    }
    return first;
  }

  // Ends a failed run: the lines written so far are flushed and every file
  // is closed. A failing flush belongs to a line written before `error`, so
  // it is the one reported.
  Status Abandon(Status error) {
    Status flush_error;
    for (BufferedWriter* writer : Writers()) {
      Status closed = writer->Close();
      if (flush_error.ok() && !closed.ok()) flush_error = closed;
    }
    if (input_) (void)input_->Close();
    return flush_error.ok() ? error : flush_error;
  }

 private:
  std::vector<BufferedWriter*> Writers() {
    std::vector<BufferedWriter*> writers;
    if (output_) writers.push_back(&*output_);
    for (std::optional<BufferedWriter>& script : scripts_) {
      if (script) writers.push_back(&*script);
    }
    return writers;
  }

  std::optional<PointReader> input_;
  std::optional<BufferedWriter> output_;
  std::array<std::optional<BufferedWriter>, 3> scripts_;
};

}  // namespace

Status ConvertPointFile(const TFileConversion& request, const TSettingsTexts& settings,
                        char decimal_separator, TEngineRecords& engine, TRunEndpoints endpoints) {
  DescriptorGuard input_fd{endpoints.input_fd};
  DescriptorGuard output_fd{endpoints.output_fd};
  const TRunSettings run{request.direction, request.method, &settings, decimal_separator};

  // Every direction but the grid-to-grid ones reads its parameter set before
  // any file is touched.
  if (!GridToGrid(request.direction)) {
    Status read = ReadParameterSet(ParameterTexts(settings, SourceSystem(request.direction)),
                                   decimal_separator, engine.set);
    if (!read) return read;
  }

  OpenRun files;
  Status status = files.Open(request, endpoints, input_fd, output_fd);
  if (status) {
    TRunFiles open = files.Files();
    status = ConvertRecords(run, engine, open);
  }
  if (!status) return files.Abandon(status);
  return files.CloseAll();
}

Status ConvertPointFile(const TFileConversion& request, const TSettingsTexts& settings,
                        char decimal_separator, TEngineRecords& engine) {
  return ConvertPointFile(request, settings, decimal_separator, engine, TRunEndpoints{});
}

}  // namespace tervela
