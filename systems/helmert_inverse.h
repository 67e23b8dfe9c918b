#pragma once

// The seven-parameter shift of the Settings page from a published Helmert
// transformation. Internal to systems/.

#include <array>

namespace tervela::systems_internal {

// A Helmert transformation from the local datum to WGS 84 as EPSG publishes
// it: translations [m], rotations [radians] in the coordinate frame
// convention (a position-vector set has its rotations negated first), scale
// difference as a ratio.
struct LocalToWgs84Helmert {
  std::array<double, 3> translation;
  std::array<double, 3> rotation;
  double scale_difference;
};

// Tx Ty Tz [m], Rx Ry Rz [arc-seconds, coordinate frame], K [ppm].
using SevenValues = std::array<double, 7>;

// The same transformation from WGS 84 to the local datum, in the form
// X' = T + (1 + K) R3(Rz) R2(Ry) R1(Rx) X of the engine's shift: the rotation
// taken as exact and transposed, its angles read back out of the transposed
// matrix, the translation rotated and scaled, the scale inverted.
SevenValues WgsToLocal(const LocalToWgs84Helmert& helmert);

}  // namespace tervela::systems_internal
