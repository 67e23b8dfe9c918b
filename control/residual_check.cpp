// Control points against a grid system: residuals, outliers, statistics.

#include "control/residual_check.h"

#include <algorithm>
#include <cmath>

namespace tervela {

Result<TResidual> ResidualOf(const TGridSystem& system, TShiftMethod method,
                             const TControlPoint& point) {
  TWorkingPoint working;
  working.Latitude = point.latitude;
  working.Longitude = point.longitude;
  if (const Status converted = GeographicToGrid(system, method, working); !converted) {
    return Error::ControlLine(point.line, converted.error().message());
  }
  return TResidual{point.northing - working.Northing, point.easting - working.Easting};
}

double Length(const TResidual& residual) { return std::hypot(residual.north, residual.east); }

Result<TControlCheck> CheckControlPoints(const TGridSystem& system, TShiftMethod method,
                                         std::span<const TControlPoint> points) {
  TControlCheck check;
  for (const TControlPoint& point : points) {
    const Result<TResidual> residual = ResidualOf(system, method, point);
    if (!residual) return residual.error();
    check.residuals.push_back(residual.value());
  }
  check.outliers = FlagOutliers(check.residuals);
  double sum_of_squares = 0;
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (check.outliers[i]) {
      ++check.outlier_count;
      continue;
    }
    const double length = Length(check.residuals[i]);
    sum_of_squares += length * length;
    check.max = std::max(check.max, length);
  }
  const std::size_t kept = points.size() - check.outlier_count;
  if (kept > 0) check.rms = std::sqrt(sum_of_squares / static_cast<double>(kept));
  return check;
}

bool ExceedsTolerance(const TControlCheck& check, double tolerance) {
  return std::any_of(check.residuals.begin(), check.residuals.end(),
                     [tolerance](const TResidual& r) { return Length(r) > tolerance; });
}

}  // namespace tervela
