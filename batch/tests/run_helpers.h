#pragma once

#include <array>
#include <string>

#include "batch/point_file_conversion.h"
#include "test_support/scratch_folder.h"
#include "batch/tests/test_settings.h"

namespace tervela::testing {

// What a run left: the error-box text ("" on success), the output file and
// the text, point and numbering scripts ("<missing>" for a file not there).
struct RunOutcome {
  std::string error;
  std::string output;
  std::array<std::string, 3> scripts;
};

inline std::string BoxTextOf(const Status& status) { return status.ok() ? "" : status.error().BoxText(); }

// Converts `input` bytes from a file "in.txt" into "out.txt" in a fresh folder.
inline RunOutcome RunOn(const std::string& input, TConversionDirection direction,
                        TShiftMethod method = TShiftMethod::ThreeParameter, bool scripts = false,
                        const TSettingsTexts& settings = WorkedExampleSettings()) {
  ScratchFolder folder;
  WriteBytes(folder / "in.txt", input);
  const TFileConversion request{direction, method, scripts, folder / "in.txt", folder / "out.txt"};
  const Status status = ConvertPointFile(request, ReadRecordSystems(settings, '.'));
  return {BoxTextOf(status),
          ReadBytes(folder / "out.txt"),
          {ReadBytes(folder / "out.txt text.scr"), ReadBytes(folder / "out.txt point.scr"),
           ReadBytes(folder / "out.txt prognumb.scr")}};
}

}  // namespace tervela::testing
