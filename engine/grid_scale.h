#pragma once

// Grid convergence and point scale factor of the projection, for the reduction
// of measured bearings and distances to the grid.

#include <span>

#include "common/result.h"
#include "engine/grid_system.h"
#include "engine/working_point.h"

namespace tervela {

struct TGridScale {
  // Grid convergence gamma [degrees]: the angle from grid north to true
  // north, positive east of the central meridian in the northern hemisphere.
  double Convergence = 0;
  // Point scale factor k: grid length over ellipsoid length, the projection's
  // scale factor included.
  double ScaleFactor = 0;
};

// Gamma and k of the projection at the local-datum Latitude/Longitude of
// `point` (as GeographicToGrid leaves them), from the derivatives of the
// series the projection evaluates. Reads nothing else of the point.
Status GridConvergenceAndScale(const TGridSystem& system, const TWorkingPoint& point,
                               TGridScale& scale);

// The same for many points side by side: each scale and its Status end
// exactly as the one-point call would leave them. `scales` and `statuses`
// have at least as many elements as `points`.
void GridConvergenceAndScaleBatch(const TGridSystem& system, std::span<const TWorkingPoint> points,
                                  std::span<TGridScale> scales, std::span<Status> statuses);

}  // namespace tervela
