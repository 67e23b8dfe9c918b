#pragma once

#include <span>
#include <vector>

#include "common/result.h"
#include "control/control_file.h"
#include "control/outlier_rule.h"
#include "engine/engine.h"

namespace tervela {

// The residuals of a control set in one grid system.
struct TControlCheck {
  std::vector<TResidual> residuals;  // one per control point, in file order
  std::vector<bool> outliers;        // FlagOutliers of the residuals
  std::size_t outlier_count = 0;
  // Root mean square and largest horizontal length (metres) of the residuals
  // of the points not flagged: what the system does where the control agrees.
  double rms = 0;
  double max = 0;
};

// The residual of one control point: its northing and easting minus those of
// its WGS84 position converted into the grid of `system` with `method` by the
// engine's GeographicToGrid. A conversion fault becomes Error::ControlLine
// with the point's line.
Result<TResidual> ResidualOf(const TGridSystem& system, TShiftMethod method,
                             const TControlPoint& point);

// The residuals of every point, their outliers and statistics.
Result<TControlCheck> CheckControlPoints(const TGridSystem& system, TShiftMethod method,
                                         std::span<const TControlPoint> points);

// The horizontal length of a residual, metres.
double Length(const TResidual& residual);

// True when any point's residual, flagged or not, is longer than `tolerance`
// metres.
bool ExceedsTolerance(const TControlCheck& check, double tolerance);

}  // namespace tervela
