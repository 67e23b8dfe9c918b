#pragma once

// The two grid systems of a settings record, read from its texts once,
// where a request starts (the window's click, tervela-convert's run).

#include <string>

#include "common/result.h"
#include "engine/grid_system.h"
#include "settings/settings_record.h"
#include "settings/system_values.h"

namespace tervela {

// One system of a record. A system whose texts hold a bad number keeps the
// error, and a conversion reports it when it first needs that system, as if
// it read the texts then: so a request fails with the same first error
// whichever system it reads first.
struct TRecordSystem {
  // The system, or the error of its first text that is not a number, placed
  // at the record's file and that text's line (1 to 38).
  Result<TGridSystem> grid;
  std::string name;  // bytes as typed
  // The false easting [m] as far as the texts read: the system's own; where
  // they fail, the number of its text when it comes before the failing
  // text, else 0. The picture of a run whose grid failed to read is drawn
  // about it.
  double false_easting_read = 0;
};

struct TRecordSystems {
  TRecordSystem a, b;
  const TRecordSystem& operator[](TLocalSystem system) const {
    return system == TLocalSystem::A ? a : b;
  }
};

// Reads both systems of `record`, parsing with `decimal_separator`;
// `file_name` is the file the record came from, if any.
TRecordSystems ReadRecordSystems(const TSettingsTexts& record, char decimal_separator,
                                 const std::string& file_name = {});

// Puts the eighteen `texts` and the `name` of a system on its lines of
// `record`; the other system's lines stay as they are.
void PutSystemTexts(TSettingsTexts& record, TLocalSystem system,
                    const std::array<std::string, kSystemTextCount>& texts, const std::string& name);

// The index in the record (0 for line 1) of a system's field.
inline std::size_t FieldIndex(TLocalSystem system, TSystemField field) {
  return FirstParameterIndex(system) + static_cast<std::size_t>(field);
}

}  // namespace tervela
