// The outlier rule: distance from the median shift, against the median
// distance (a robust spread in the manner of the median absolute deviation).

#include "control/outlier_rule.h"

#include <algorithm>
#include <cmath>

#include "common/median.h"

namespace tervela {

std::vector<bool> FlagOutliers(std::span<const TResidual> residuals) {
  std::vector<bool> flagged(residuals.size(), false);
  if (residuals.size() < kMinPointsForOutliers) return flagged;
  std::vector<double> north, east;
  for (const TResidual& r : residuals) {
    north.push_back(r.north);
    east.push_back(r.east);
  }
  const double common_north = Median(north);
  const double common_east = Median(east);
  std::vector<double> distances;
  for (const TResidual& r : residuals) {
    distances.push_back(std::hypot(r.north - common_north, r.east - common_east));
  }
  const double limit = std::max(kOutlierFloor, kOutlierSpreads * Median(distances));
  for (std::size_t i = 0; i < residuals.size(); ++i) flagged[i] = distances[i] > limit;
  return flagged;
}

}  // namespace tervela
