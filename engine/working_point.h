#pragma once

namespace tervela {

// The point every engine operation reads and writes in place. Angles are
// decimal degrees (east and north positive), grid values metres.
struct TWorkingPoint {
  double Longitude = 0;
  double Latitude = 0;
  double Easting = 0;
  double Northing = 0;
  double TargetEasting = 0;
  double TargetNorthing = 0;
};

}  // namespace tervela
