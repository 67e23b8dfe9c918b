// Seven-parameter datum shift.
// Source: Bowring, Transformation from spatial to geographical coordinates, Survey Review 23 (181), 1976.
//
// WGS84 geodetic coordinates (at the assumed height h = 200 m) are turned into
// geocentric cartesian ones, moved to the local datum by a seven-parameter
// similarity transformation (coordinate frame rotation convention) and turned
// back into geodetic coordinates on the local ellipsoid with Bowring's closed
// formula, one step, no iteration.
//
// The longitude is atan2(Y', X'), so the quadrant of
// X' counts (120 E comes back as 120 E, not -60 E) and X' = 0 gives +90 or -90
// degrees by the sign of Y'. Where X' > 0, that is within +-90 degrees, the
// result is the plain arctan(Y' / X') to the last bits.

#include <cmath>

#include "engine/engine.h"
#include "engine/geodetic_constants.h"
#include "engine/prepared_operations.h"

namespace tervela {

using namespace geodesy;

namespace engine_internal {

// The similarity transformation's rotation matrix and scale, and the local
// ellipsoid of Bowring's formula, as derived with the system (grid_system.cpp).
PreparedSevenParameterShift::PreparedSevenParameterShift(const TGridSystem& system,
                                                         fp::Checking checking)
    : helmert_(system.helmert),
      ellipsoid_(system.ellipsoid.bowring_),
      checking_(checking),
      setup_fault_(fp::OfOneStep(system.helmert.fault_, system.ellipsoid.bowring_.fault)) {}

// The shift of one point: to geocentric, the similarity transformation, back to
// geodetic.
template <class Point>
fp::Fault PreparedSevenParameterShift::Apply(Point& point,
                                             CarriedTrig<ValueOf<Point>>* carried) const {
  using T = ValueOf<Point>;
  // Geodetic to geocentric, on WGS84: N = a / sqrt(1 - e^2 sin^2 phi),
  // X = cos(lambda) cos(phi) (N + h), Y = sin(lambda) cos(phi) (N + h),
  // Z = sin(phi) ((1 - e^2) N + h).
  const double h = kAssumedHeight;
  const T phi = point.Latitude * kRadiansPerDegree;
  const T lambda = point.Longitude * kRadiansPerDegree;
  CarriedTrig<T> trig = TrigNear(phi, lambda, carried);
  const T sin_phi = trig.phi.sin, cos_phi = trig.phi.cos;
  const T sin_lambda = trig.lambda.sin, cos_lambda = trig.lambda.cos;
  const T N =
      kWgs84SemiMajorAxis / Sqrt(1 - kWgs84EccentricitySquared * (sin_phi * sin_phi));
  const T X = cos_lambda * cos_phi * (N + h);
  const T Y = sin_lambda * cos_phi * (N + h);
  const T Z = sin_phi * (kWgs84OneMinusEccentricitySquared * N + h);

  // The similarity transformation (X', Y', Z') = T + (1 + K) R (X, Y, Z),
  // each row sum accumulated from the first column to the third. Xp, Yp, Zp
  // stand for X', Y', Z'. An overflow here ends the shift.
  const std::array<double, 3>& t = helmert_.translation_;
  const THelmertShift::Matrix& r = helmert_.r_;
  const T u = helmert_.one_plus_k_ * X;
  const T v = helmert_.one_plus_k_ * Y;
  const T w = helmert_.one_plus_k_ * Z;
  const T Xp = t[0] + (r[0][0] * u + r[0][1] * v + r[0][2] * w);
  const T Yp = t[1] + (r[1][0] * u + r[1][1] * v + r[1][2] * w);
  const T Zp = t[2] + (r[2][0] * u + r[2][1] * v + r[2][2] * w);
  if (const fp::Fault fault = fp::CheckStep(checking_, Xp, Yp, Zp); fault != fp::Fault::NoFault) {
    return fault;
  }

  // A fault of the local ellipsoid ends the shift here.
  if (setup_fault_ != fp::Fault::NoFault) return setup_fault_;

  // Geocentric to geodetic on the local ellipsoid, by Bowring's formula. The
  // distance from the polar axis.
  const T p2 = Xp * Xp + Yp * Yp;
  const T p = Sqrt(p2);

  // The parametric latitude theta, tan(theta) = Z' a / (p b). On the polar
  // axis (p = 0) this divides by zero (0 / 0 at the centre), and the shift
  // ends with the WGS84 values still in the point.
  const T tan_theta = Zp * ellipsoid_.a / (p * ellipsoid_.b);
  if (const fp::Fault fault = fp::CheckStep(checking_, p, tan_theta); fault != fp::Fault::NoFault) {
    return fault;
  }

  // sin(theta) and cos(theta) without the tangent: with z = Z' a / b,
  // cos = p / sqrt(p^2 + z^2) and sin = z / sqrt(p^2 + z^2), p^2 being at hand
  // before its square root. These squares overflow only where those of X', Y'
  // and Z' would.
  const T z = Zp * ellipsoid_.a_over_b;
  const T theta_scale = 1 / Sqrt(p2 + z * z);
  const T cos_theta = p * theta_scale;
  const T sin_theta = z * theta_scale;

  // Bowring's latitude, tan(phi) = (Z' + e'^2 b sin^3 theta) / (p - e^2 a cos^3 theta).
  // Its sine and cosine follow from the two parts of the tangent without the
  // arctangent, so that the projection need not wait for it; the sign of the
  // part below keeps the cosine of the arctangent's angle positive.
  const T sin3_theta = sin_theta * sin_theta * sin_theta;
  const T cos3_theta = cos_theta * cos_theta * cos_theta;
  const T tan_above = Zp + ellipsoid_.second_e2_b * sin3_theta;
  const T tan_below = p - ellipsoid_.e2_a * cos3_theta;
  const T phi_local = Atan(tan_above / tan_below);
  const T phi_scale = CopySign(
      1 / Sqrt(tan_above * tan_above + tan_below * tan_below), tan_below);
  trig.result_phi = {true, phi_local, tan_above * phi_scale, tan_below * phi_scale};

  // The longitude, in the quadrant of (X', Y').
  const T lambda_local = Atan2(Yp, Xp);

  // Both in degrees.
  const T latitude = phi_local * kDegreesPerRadian;
  const T longitude = lambda_local * kDegreesPerRadian;
  return StoreShiftResult(checking_, latitude, longitude, trig, point, carried);
}

template fp::Fault PreparedSevenParameterShift::Apply(TWorkingPoint&, CarriedTrig<double>*) const;
template fp::Fault PreparedSevenParameterShift::Apply(PointLanes&, CarriedTrig<Lanes>*) const;

}  // namespace engine_internal

Status SevenParameterShift(const TGridSystem& system, TWorkingPoint& point) {
  return engine_internal::RunAlone<engine_internal::PreparedSevenParameterShift,
                                   &TWorkingPoint::Latitude, &TWorkingPoint::Longitude>(system,
                                                                                        point);
}

}  // namespace tervela
