#pragma once

#include <string>

#include "batch/point_file_conversion.h"
#include "batch/run_observer.h"
#include "batch/run_warnings.h"

namespace tervela {

// Where a run started outside the window reads and writes.
struct TRunEndpoints {
  // A descriptor to read instead of opening `input_name`, or -1. The run
  // takes it over and closes it.
  int input_fd = -1;
  // A descriptor to write instead of creating `output_name`, or -1; taken
  // over likewise. Script names are still formed from `output_name`.
  int output_fd = -1;
  // Told the progress of the run and asked whether to stop it; may be null.
  RunObserver* observer = nullptr;
  // The settings record the run's systems were read from, or empty. Like
  // the input, no output of the run may be it.
  std::string settings_name;
  // Counts what the points written call for at the run's end, also when the
  // run fails; may be null.
  RunWarnings* warnings = nullptr;
};

// ConvertPointFile with the input or output given as descriptors, watched by
// an observer. Steps, files written and errors are those of ConvertPointFile.
Status ConvertPointFile(const TFileConversion& request, const TRecordSystems& systems,
                        TRunEndpoints endpoints);

}  // namespace tervela
