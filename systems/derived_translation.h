#pragma once

// A geocentric translation derived from a Helmert transformation, for a datum
// whose place EPSG gives no translation for. Internal to systems/.

#include <array>

#include "common/geographic_box.h"

namespace tervela::systems_internal {

// A Helmert transformation from the local datum to WGS 84 as EPSG publishes
// it: translations [m], rotations [radians] in the coordinate frame
// convention, scale difference [ratio]; a translation has zero rotations and
// scale.
struct THelmertParameters {
  std::array<double, 3> translation{};
  std::array<double, 3> rotation{};
  double scale_difference = 0;
};

struct TDerivedTranslation {
  std::array<double, 3> translation;  // dx dy dz [m]
  // The largest distance [m] between where the translation and the Helmert
  // take a corner of the area.
  double accuracy;
};

// The translation `helmert` gives at `centre` (on the local ellipsoid of
// semi-major axis `a` and flattening `f`, at height 0): exact there, and off
// by the rotation and scale away from it, by at most `accuracy` over `area`.
TDerivedTranslation DeriveTranslation(const THelmertParameters& helmert, double a, double f,
                                      const TGeographicPoint& centre, const TGeographicBox& area);

}  // namespace tervela::systems_internal
