#pragma once

#include <span>
#include <vector>

namespace tervela {

// A grid residual in metres: the control's coordinate minus the converted one.
struct TResidual {
  double north = 0;
  double east = 0;
};

// Below this many points no point is judged against the others.
inline constexpr std::size_t kMinPointsForOutliers = 3;
// A residual closer than this (metres) to the others' is never an outlier,
// however tight the others are: 3 cm is beyond the noise of a good survey.
inline constexpr double kOutlierFloor = 0.03;
// How many times the typical spread a residual must lie off the others.
inline constexpr double kOutlierSpreads = 5;

// Flags the residuals that do not fit the others. The others' common shift is
// the component-wise median of the residuals, which no single wild point can
// drag; the spread is the median distance from it. A residual is flagged
// when its distance from the common shift exceeds both kOutlierSpreads
// spreads and kOutlierFloor. For residuals with Gaussian noise of sigma per
// component the spread is 1.18 sigma, so a point of a clean set is flagged
// with a chance below 1e-7; none is flagged in a set of fewer than
// kMinPointsForOutliers points.
std::vector<bool> FlagOutliers(std::span<const TResidual> residuals);

}  // namespace tervela
