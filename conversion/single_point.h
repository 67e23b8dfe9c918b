#pragma once

#include <string>

#include "common/result.h"
#include "conversion/direction.h"
#include "engine/engine.h"
#include "settings/record_systems.h"

namespace tervela {

// The texts of the Conversion page that "Convert Data" reads and writes.
struct TConversionPage {
  // The point typed: northing and easting, or latitude and longitude from WGS84.
  std::string InputNorth, InputEast;
  // The result likewise, which holds the previous result until it is written.
  std::string OutputNorth, OutputEast;
  std::string LatitudeReadout, LongitudeReadout;
  // The previous grid result minus the new one.
  std::string NorthingChange, EastingChange;
  // Grid convergence and point scale factor of the grid point: the output's
  // grid, or the input's for a conversion to WGS84 (grid_point_scale.h).
  std::string Convergence, ScaleFactor;
};

// "Convert Data": converts the point typed in `direction` with `method`
// between the systems of `systems`, parsing the page's numbers with
// `decimal_separator`, and writes the results into `page`. Every read and all
// computation come before the first write, except that WgsToA and WgsToB write
// NorthingChange before OutputEast is parsed; on an error the page is
// otherwise left as it was.
Status ConvertData(TConversionDirection direction, TShiftMethod method,
                   const TRecordSystems& systems, char decimal_separator, TConversionPage& page);

}  // namespace tervela
