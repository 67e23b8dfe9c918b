#pragma once

#include <span>
#include <vector>

namespace tervela {

// A point on a grid: metres east and north.
struct TGridPoint {
  double easting = 0;
  double northing = 0;
};

// Which of `points` stand far apart from the others: true at the index of
// each such point. With fewer than three points none does.
std::vector<bool> FarApartPoints(std::span<const TGridPoint> points);

}  // namespace tervela
