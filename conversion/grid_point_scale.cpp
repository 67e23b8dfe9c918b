#include "conversion/grid_point_scale.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "common/number_text.h"

namespace tervela {

// A point converted to or between grids holds the local-datum position of its
// grid point already; a point converted to WGS84 is taken forward again to
// the grid it came from for it.
Status GridScaleOf(const PointConverter& converter, const TWorkingPoint& converted,
                   TGridScale& scale) {
  const TGridSystem& system = converter.GridSystem();
  if (!ToWgs(converter.direction())) return GridConvergenceAndScale(system, converted, scale);
  TWorkingPoint local = converted;
  if (Status forward = GeographicToGrid(system, converter.method(), local); !forward) return forward;
  return GridConvergenceAndScale(system, local, scale);
}

void GridScalesOf(const PointConverter& converter, std::span<const TWorkingPoint> converted,
                  std::span<TGridScale> scales, std::span<Status> statuses) {
  const TGridSystem& system = converter.GridSystem();
  if (!ToWgs(converter.direction())) {
    GridConvergenceAndScaleBatch(system, converted, scales, statuses);
    return;
  }
  std::vector<TWorkingPoint> local(converted.begin(), converted.end());
  GeographicToGridBatch(system, converter.method(), local, statuses);
  std::vector<Status> scaled(local.size());
  GridConvergenceAndScaleBatch(system, local, scales, scaled);
  for (std::size_t i = 0; i < local.size(); ++i) {
    if (statuses[i]) statuses[i] = scaled[i];
  }
}

namespace {

constexpr int kDecimalDegreeDecimals = 8;
constexpr int kScaleDecimals = 8;

}  // namespace

// The seconds are rounded once, in thousandths, and carried into the
// minutes and degrees, so 59.9996" shows as the next minute. Gamma lies
// within 180 degrees either way (an atan2).
std::string ConvergenceReadout(double degrees, char decimal_separator) {
  const double thousandths = std::round(std::fabs(degrees) * 3600000.0);
  std::string text = std::signbit(degrees) && thousandths != 0 ? "-" : "";
  const auto whole = static_cast<std::int64_t>(thousandths);
  const std::int64_t minutes = whole / 60000 % 60;
  const std::int64_t seconds = whole / 1000 % 60;
  const std::int64_t fraction = whole % 1000;
  char part[16];
  text += std::to_string(whole / 3600000) + "\xC2\xB0";
  std::snprintf(part, sizeof part, "%02d'", static_cast<int>(minutes));
  text += part;
  std::snprintf(part, sizeof part, "%02d%c%03d\"", static_cast<int>(seconds), decimal_separator,
                static_cast<int>(fraction));
  text += part;
  return text + "  " + FormatFixed(degrees, kDecimalDegreeDecimals, decimal_separator) + "\xC2\xB0";
}

std::string ScaleFactorReadout(double scale, char decimal_separator) {
  return FormatFixed(scale, kScaleDecimals, decimal_separator);
}

}  // namespace tervela
