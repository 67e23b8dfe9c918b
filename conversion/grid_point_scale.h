#pragma once

#include <span>
#include <string>

#include "common/result.h"
#include "conversion/point_converter.h"
#include "engine/grid_scale.h"

namespace tervela {

// Grid convergence and point scale factor of a converted point's grid point:
// on the grid of the run (the output's, or the input's for a run to WGS84),
// at its local-datum position. `converted` is the point as the converter
// left it; needs `converter.Ready()`.
Status GridScaleOf(const PointConverter& converter, const TWorkingPoint& converted,
                   TGridScale& scale);

// GridScaleOf for several converted points side by side, each scale and
// Status ending as GridScaleOf would leave them. `scales` and `statuses` have
// at least as many elements as `converted`.
void GridScalesOf(const PointConverter& converter, std::span<const TWorkingPoint> converted,
                  std::span<TGridScale> scales, std::span<Status> statuses);

// The readouts of "Convert Data": gamma as degrees, minutes and seconds to
// 0.001" followed by decimal degrees to 8 decimals (-0°43'09.751" -0.71937539°),
// k to 8 decimals, with `decimal_separator`; UTF-8.
std::string ConvergenceReadout(double degrees, char decimal_separator);
std::string ScaleFactorReadout(double scale, char decimal_separator);

}  // namespace tervela
