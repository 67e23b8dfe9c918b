#pragma once

#include "batch/buffered_writer.h"
#include "batch/point_reader.h"
#include "conversion/direction.h"
#include "engine/engine.h"
#include "settings/settings_record.h"

namespace tervela {

// The open files of one run; the script writers are null with script output
// off.
struct TRunFiles {
  PointReader* input = nullptr;
  BufferedWriter* output = nullptr;
  BufferedWriter* text_script = nullptr;
  BufferedWriter* point_script = nullptr;
  BufferedWriter* number_script = nullptr;
};

// What a run converts with: the direction, the method, and the parameter
// texts of the Settings page with the separator they are parsed with.
struct TRunSettings {
  TConversionDirection direction;
  TShiftMethod method;
  const TSettingsTexts* texts;
  char decimal_separator;
};

// Converts the records of `files.input` until the input is exhausted,
// writing one output line and, with scripts, one line to each script per
// record. For WgsToA, WgsToB, AToWgs and BToWgs `engine.set` must already hold
// the source system; AToB and BToA read both systems at the first record.
// The first failure ends the loop; the files stay open.
Status ConvertRecords(const TRunSettings& settings, TEngineRecords& engine, TRunFiles& files);

}  // namespace tervela
