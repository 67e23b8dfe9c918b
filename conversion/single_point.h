#pragma once

#include <string>

#include "common/result.h"
#include "conversion/direction.h"
#include "engine/engine.h"
#include "settings/record_systems.h"

namespace tervela {

// The texts of the Conversion page that "Convert Data" reads and writes.
struct TConversionPage {
  std::string Edit39, Edit40;  // input N, E
  std::string Edit41, Edit42;  // output N, E (also the previous outputs)
  std::string Edit45, Edit46;  // latitude and longitude readouts
  std::string Label27, Label28;  // change readouts
};

// "Convert Data": converts the point of Edit39/Edit40 in `direction` with
// `method` between the systems of `systems`, parsing the page's numbers with
// `decimal_separator`, and writes the results into `page`. Every read and
// all computation come before the first write, except that WgsToA and WgsToB
// write Label27 before Edit42 is parsed; on an error the page is otherwise
// left as it was.
Status ConvertData(TConversionDirection direction, TShiftMethod method,
                   const TRecordSystems& systems, char decimal_separator, TConversionPage& page);

}  // namespace tervela
