// Points far apart from the others, by the Hampel identifier (F. R. Hampel,
// "The influence curve and its role in robust estimation", JASA 69, 1974)
// applied to each point's distance from the median centre: a distance more
// than kCutoff scaled median absolute deviations above the median distance
// marks an outlier. Medians are used throughout so that the far points
// themselves do not move the centre or widen the spread they are judged by.
//
// This is not the control check's outlier rule (control/outlier_rule.h):
// that one judges residuals, centimetres of noise about a common shift, so
// their distances start at zero and it has a floor in metres. These are
// positions spread over kilometres, whose distances from their centre are
// anything but small, so the spread is taken about the median distance and
// the cut-off is free of any unit.

#include "maps/far_points.h"

#include <algorithm>
#include <cmath>

#include "common/median.h"

namespace tervela {

namespace {

// Deviations of the cut-off: wide, so that only a plain blunder is marked.
constexpr double kCutoff = 5.0;
// Turns a median absolute deviation into the standard deviation of a normal
// sample.
constexpr double kNormalScale = 1.4826;
// A marked distance is also at least this many times the median distance, so
// that points lying almost on one spot do not mark a neighbour a few metres
// away.
constexpr double kLeastRatio = 3.0;

}  // namespace

std::vector<bool> FarApartPoints(std::span<const TGridPoint> points) {
  std::vector<bool> far(points.size(), false);
  if (points.size() < 3) return far;
  std::vector<double> values(points.size());
  std::transform(points.begin(), points.end(), values.begin(), [](const TGridPoint& p) { return p.easting; });
  const double centre_easting = Median(values);
  std::transform(points.begin(), points.end(), values.begin(), [](const TGridPoint& p) { return p.northing; });
  const double centre_northing = Median(values);

  std::vector<double> distances(points.size());
  std::transform(points.begin(), points.end(), distances.begin(), [&](const TGridPoint& p) {
    return std::hypot(p.easting - centre_easting, p.northing - centre_northing);
  });
  const double median_distance = Median(distances);
  std::transform(distances.begin(), distances.end(), values.begin(),
                 [&](double d) { return std::fabs(d - median_distance); });
  const double spread = kNormalScale * Median(values);
  const double limit = std::max(median_distance + kCutoff * spread, kLeastRatio * median_distance);
  for (std::size_t i = 0; i < points.size(); ++i) far[i] = distances[i] > limit;
  return far;
}

}  // namespace tervela
