// A Helmert transformation X_wgs = T + (1 + s) M X_local, with EPSG's
// first-order rotation of the coordinate frame convention
//
//       |  1   rz  -ry |
//   M = | -rz   1   rx |
//       |  ry  -rx   1 |,
//
// moves a point X by T + ((1 + s) M - I) X: a translation that changes with
// X. At the place's centre P it is t = T + ((1 + s) M - I) P, and elsewhere
// the Helmert differs from that translation by ((1 + s) M - I)(X - P), linear
// in X - P: largest at the area's corners, farthest from P.

#include "systems/derived_translation.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tervela::systems_internal {

namespace {

using Vector = std::array<double, 3>;

constexpr double kRadiansPerDegree = std::numbers::pi / 180;

// Geodetic to geocentric at height 0.
Vector Geocentric(const TGeographicPoint& point, double a, double f) {
  const double e2 = f * (2 - f);
  const double latitude = point.latitude * kRadiansPerDegree, longitude = point.longitude * kRadiansPerDegree;
  const double n = a / std::sqrt(1 - e2 * std::sin(latitude) * std::sin(latitude));
  return {n * std::cos(latitude) * std::cos(longitude), n * std::cos(latitude) * std::sin(longitude),
          n * (1 - e2) * std::sin(latitude)};
}

// ((1 + s) M - I) X, how far the Helmert moves X beyond T.
Vector Moved(const THelmertParameters& helmert, const Vector& x) {
  const auto& [rx, ry, rz] = helmert.rotation;
  const double k = 1 + helmert.scale_difference;
  const Vector rotated = {x[0] + rz * x[1] - ry * x[2], -rz * x[0] + x[1] + rx * x[2],
                          ry * x[0] - rx * x[1] + x[2]};
  return {k * rotated[0] - x[0], k * rotated[1] - x[1], k * rotated[2] - x[2]};
}

}  // namespace

TDerivedTranslation DeriveTranslation(const THelmertParameters& helmert, double a, double f,
                                      const TGeographicPoint& centre, const TGeographicBox& area) {
  const Vector p = Geocentric(centre, a, f);
  const Vector at_centre = Moved(helmert, p);
  TDerivedTranslation derived{};
  for (int i = 0; i < 3; ++i) derived.translation[i] = helmert.translation[i] + at_centre[i];
  for (const TGeographicPoint& corner : Corners(area)) {
    const Vector x = Geocentric(corner, a, f);
    const Vector off = Moved(helmert, {x[0] - p[0], x[1] - p[1], x[2] - p[2]});
    derived.accuracy = std::max(derived.accuracy, std::hypot(off[0], off[1], off[2]));
  }
  return derived;
}

}  // namespace tervela::systems_internal
