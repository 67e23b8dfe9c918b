// A Helmert transformation X_wgs = T + (1 + s) R X_local (the engine's
// THelmertShift, R its rotation matrix in the coordinate frame convention)
// moves a point X by T + ((1 + s) R - I) X: a translation that changes with
// X. At the place's centre P it is t = T + ((1 + s) R - I) P, and elsewhere
// the Helmert differs from that translation by ((1 + s) R - I)(X - P), linear
// in X - P: largest at the area's corners, farthest from P.

#include "systems/derived_translation.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "engine/engine.h"

namespace tervela::systems_internal {

namespace {

using Vector = std::array<double, 3>;

constexpr double kRadiansPerDegree = std::numbers::pi / 180;

// Geodetic [degrees] to geocentric at height 0.
Vector Geocentric(const TGeographicPoint& point, const TEllipsoid& ellipsoid) {
  return ellipsoid.Geocentric(point.latitude * kRadiansPerDegree, point.longitude * kRadiansPerDegree);
}

// ((1 + s) R - I) X, how far the Helmert moves X beyond T.
Vector Moved(const THelmertShift& helmert, const Vector& x) {
  const THelmertShift::Matrix& r = helmert.rotation_matrix();
  const double k = 1 + helmert.scale_difference();
  Vector moved{};
  for (int i = 0; i < 3; ++i) {
    moved[i] = k * (r[i][0] * x[0] + r[i][1] * x[1] + r[i][2] * x[2]) - x[i];
  }
  return moved;
}

}  // namespace

TDerivedTranslation DeriveTranslation(const THelmertParameters& helmert, double a, double f,
                                      const TGeographicPoint& centre, const TGeographicBox& area) {
  const TEllipsoid ellipsoid = TEllipsoid::FromAxisAndFlattening(a, f);
  const THelmertShift shift(helmert.translation, helmert.rotation, helmert.scale_difference);
  const Vector p = Geocentric(centre, ellipsoid);
  const Vector at_centre = Moved(shift, p);
  TDerivedTranslation derived{};
  for (int i = 0; i < 3; ++i) derived.translation[i] = helmert.translation[i] + at_centre[i];
  for (const TGeographicPoint& corner : Corners(area)) {
    const Vector x = Geocentric(corner, ellipsoid);
    const Vector off = Moved(shift, {x[0] - p[0], x[1] - p[1], x[2] - p[2]});
    derived.accuracy = std::max(derived.accuracy, std::hypot(off[0], off[1], off[2]));
  }
  return derived;
}

}  // namespace tervela::systems_internal
