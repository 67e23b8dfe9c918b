#include "batch/point_file_conversion.h"

#include <array>
#include <cerrno>
#include <optional>
#include <vector>

#include "batch/map_output.h"
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
  // input or the settings record (when named), loads what the map files
  // need, then opens the output (or takes `output`), the scripts and the map
  // files, whose picture and KML document are titled `grid_title`, before
  // it empties any (OpenRunOutputs).
  Status Open(const TFileConversion& request, io::FileDescriptor input, io::FileDescriptor output,
              const std::string& settings_name, std::string grid_title) {
    if (!input.is_open()) {
      Result<io::FileDescriptor> opened = io::OpenForReading(request.input_name);
      if (!opened.ok()) return opened.error();
      input = std::move(opened.value());
    }
    const int input_fd = input.get();
    input_.emplace(std::move(input));
    input_name_ = request.input_name;

    // The output first (unless given), then the scripts, then the map files.
    std::vector<std::string> names;
    if (!output.is_open()) names.push_back(request.output_name);
    if (request.scripts) {
      const std::array<std::string, 3> scripts = ScriptNames(request.output_name);
      names.insert(names.end(), scripts.begin(), scripts.end());
    }
    const std::vector<std::string> map_names = MapFileNames(request);
    names.insert(names.end(), map_names.begin(), map_names.end());
    const std::array<int, 1> given_output = {output.get()};
    const std::span<const int> given = std::span(given_output.data(), output.is_open() ? 1 : 0);
    const std::span<const std::string> kept(&settings_name, 1);
    Status distinct = CheckFilesDistinct(input_fd, kept, given, names);
    if (!distinct) return distinct;
    if (Status prepared = MapOutput::Prepare(request); !prepared) return prepared;

    // The output's errors read alone, as they always have; the others name
    // their file.
    Result<std::vector<io::FileDescriptor>> opened =
        OpenRunOutputs(names, output.is_open() ? 0 : 1, input_fd, kept, given);
    if (!opened.ok()) return opened.error();
    auto next = opened.value().begin();
    output_.emplace(output.is_open() ? std::move(output) : std::move(*next++), kOutputBufferSize);
    for (std::size_t i = 0; request.scripts && i < scripts_.size(); ++i) {
      scripts_[i].emplace(std::move(*next++), kScriptBufferSize);
    }
    if (!MapOutput::Wanted(request)) return {};
    maps_.emplace(request.direction, std::move(grid_title));
    maps_->Open(request, std::span(next, opened.value().end()));
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
    if (maps_) files.sink = &*maps_;
    return files;
  }

  // Closes the input, the output, the scripts and the map files (drawn on
  // the grid whose false easting is `central_easting`) in this order, each
  // checked; the first failure is reported once all are closed.
  Status CloseAll(double central_easting) {
    Status first = input_ ? input_->Close() : Status();
    for (io::BufferedWriter* writer : Writers()) {
      Status closed = writer->Close();
      if (first.ok() && !closed.ok()) first = closed;
    }
    Status maps = FinishMaps(central_easting);
    return first.ok() ? maps : first;
  }

  // Ends a failed run: the lines written so far are flushed, the map files
  // completed with the records written, and every file is closed. A failing
  // flush (or map file) belongs to a line written before `error`, so it is
  // the one reported; a failing close comes after `error` and is not.
  Status Abandon(Status error, double central_easting) {
    Status flush_error;
    for (io::BufferedWriter* writer : Writers()) {
      Status flushed = writer->Flush();
      if (flush_error.ok() && !flushed.ok()) flush_error = flushed;
      (void)writer->Close();
    }
    Status maps = FinishMaps(central_easting);
    if (flush_error.ok() && !maps.ok()) flush_error = maps;
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

  Status FinishMaps(double central_easting) { return maps_ ? maps_->Finish(central_easting) : Status(); }

  std::optional<PointReader> input_;
  std::string input_name_;
  std::optional<io::BufferedWriter> output_;
  std::array<std::optional<io::BufferedWriter>, 3> scripts_;
  std::optional<MapOutput> maps_;
};

// The grid a run's points are drawn on (the output's, or the input's for a
// run to WGS84) as the picture's title: "TM - A" and the system's name.
std::string GridTitle(const TRecordSystems& systems, TConversionDirection direction) {
  const TLocalSystem system = GridToGrid(direction) ? TargetSystem(direction) : SourceSystem(direction);
  const std::string& name = systems[system].name;
  return std::string(system == TLocalSystem::A ? "TM - A" : "TM - B") + (name.empty() ? "" : ": " + name);
}

}  // namespace

Status ConvertPointFile(const TFileConversion& request, const TRecordSystems& systems,
                        TRunEndpoints endpoints) {
  io::FileDescriptor input(endpoints.input_fd);
  io::FileDescriptor output(endpoints.output_fd);
  if (!request.dxf_name.empty() && ToWgs(request.direction)) return Error::DxfNeedsGridOutput();
  PointConverter converter(request.direction, request.method, systems);

  // Every direction but the grid-to-grid ones takes its system before any
  // file is touched.
  if (!GridToGrid(request.direction)) {
    if (Status taken = converter.TakeSourceSystem(); !taken) return taken;
  }

  OpenRun files;
  Status status = files.Open(request, std::move(input), std::move(output), endpoints.settings_name,
                             GridTitle(systems, request.direction));
  if (status) {
    if (endpoints.observer) files.WatchInput(*endpoints.observer);
    TRunFiles open = files.Files();
    RunWarnings unread;
    status = ConvertRecords(converter, open, endpoints.observer,
                            endpoints.warnings ? *endpoints.warnings : unread);
  }
  // A read stopped while it waited for data ends the run as a cancel does at
  // a record boundary: the whole lines written so far are kept.
  const double central_easting = converter.GridFalseEasting();
  if (!status && status.error().errno_value() == ECANCELED) return files.Abandon(Status(), central_easting);
  if (!status) return files.Abandon(status, central_easting);
  return files.CloseAll(central_easting);
}

Status ConvertPointFile(const TFileConversion& request, const TRecordSystems& systems) {
  return ConvertPointFile(request, systems, TRunEndpoints{});
}

}  // namespace tervela
