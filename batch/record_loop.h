#pragma once

#include <string>

#include "batch/point_reader.h"
#include "batch/record_lines.h"
#include "batch/record_sink.h"
#include "batch/run_warnings.h"
#include "batch/run_observer.h"
#include "conversion/point_converter.h"
#include "io/buffered_writer.h"

namespace tervela {

// The open files of one run; the script writers are null with script output
// off.
struct TRunFiles {
  PointReader* input = nullptr;
  io::BufferedWriter* output = nullptr;
  io::BufferedWriter* text_script = nullptr;
  io::BufferedWriter* point_script = nullptr;
  io::BufferedWriter* number_script = nullptr;

  io::BufferedWriter* writer(RunFile file) const {
    switch (file) {
      case RunFile::Output: return output;
      case RunFile::TextScript: return text_script;
      case RunFile::PointScript: return point_script;
      case RunFile::NumberScript: return number_script;
    }
    return nullptr;
  }

  // Told each record written, or null.
  RecordSink* sink = nullptr;
  std::string input_name;  // the place of a record's error
};

// Converts the records of `files.input` with `converter` until the input is
// exhausted, writing one output line and, with scripts, one line to each
// script per record. `observer` (may be null) is told the progress between
// records and may end the loop there; `warnings` counts what the records
// written call for. The first failure ends the loop; the files stay open.
Status ConvertRecords(PointConverter& converter, TRunFiles& files, RunObserver* observer,
                      RunWarnings& warnings);

}  // namespace tervela
