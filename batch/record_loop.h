#pragma once

#include "batch/point_reader.h"
#include "batch/record_sink.h"
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
  // Told each record written, or null.
  RecordSink* sink = nullptr;
};

// Converts the records of `files.input` with `converter` until the input is
// exhausted, writing one output line and, with scripts, one line to each
// script per record. `observer` (may be null) is told the progress between
// records and may end the loop there. `point` is the working point of the
// records converted one at a time (the first of a grid-to-grid run, one
// longer than the input buffer); the others are converted into points of
// their own on worker threads. The first failure ends the loop; the files stay open.
Status ConvertRecords(PointConverter& converter, TRunFiles& files, RunObserver* observer,
                      TWorkingPoint& point);

}  // namespace tervela
