// The inverse of a seven-parameter similarity transformation (Helmert).
//
// With X_wgs = T + (1 + s) R X_local, the local point is
// X_local = -R^T T / (1 + s) + R^T X_wgs / (1 + s), R being orthogonal. R is
// the exact rotation R3(rz) R2(ry) R1(rx) that the engine applies; EPSG's
// formula uses its first-order form, which differs from it by the squares of
// the angles. The angles of R^T in the same R3 R2 R1 order follow from its
// third row and first column.

#include "systems/helmert_inverse.h"

#include <cmath>
#include <numbers>

namespace tervela::systems_internal {

namespace {

using Matrix = std::array<std::array<double, 3>, 3>;

constexpr double kArcSecondsPerRadian = 648000.0 / std::numbers::pi;
constexpr double kPartsPerMillion = 1e6;

// R3(rz) R2(ry) R1(rx), coordinate frame convention, row by row.
Matrix Rotation(const std::array<double, 3>& angles) {
  const double sx = std::sin(angles[0]), cx = std::cos(angles[0]);
  const double sy = std::sin(angles[1]), cy = std::cos(angles[1]);
  const double sz = std::sin(angles[2]), cz = std::cos(angles[2]);
  return {{{cy * cz, cx * sz + sx * sy * cz, sx * sz - cx * sy * cz},
           {-cy * sz, cx * cz - sx * sy * sz, sx * cz + cx * sy * sz},
           {sy, -sx * cy, cx * cy}}};
}

}  // namespace

SevenValues WgsToLocal(const LocalToWgs84Helmert& helmert) {
  const Matrix r = Rotation(helmert.rotation);
  Matrix inverse{};
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) inverse[i][j] = r[j][i];
  }
  const double one_plus_s = 1 + helmert.scale_difference;

  SevenValues values{};
  for (int i = 0; i < 3; ++i) {
    double rotated = 0;
    for (int j = 0; j < 3; ++j) rotated += inverse[i][j] * helmert.translation[j];
    values[i] = -rotated / one_plus_s;
  }
  // Row 3 is (sin ry, -sin rx cos ry, cos rx cos ry); column 1 holds
  // cos ry cos rz and -cos ry sin rz.
  const double rx = std::atan2(-inverse[2][1], inverse[2][2]);
  const double ry = std::asin(inverse[2][0]);
  const double rz = std::atan2(-inverse[1][0], inverse[0][0]);
  values[3] = rx * kArcSecondsPerRadian;
  values[4] = ry * kArcSecondsPerRadian;
  values[5] = rz * kArcSecondsPerRadian;
  values[6] = (1 / one_plus_s - 1) * kPartsPerMillion;
  return values;
}

}  // namespace tervela::systems_internal
