// Three-parameter datum shift.
// Source: Molodensky, Eremeev and Yurkina, Methods for Study of the External Gravitational Field and Figure of the Earth (1962).
//
// The standard Molodensky formula for the change of geodetic latitude and
// longitude caused by a translation (Dx, Dy, Dz) of the datum and a change
// (Da, df) of its ellipsoid, evaluated with the local ellipsoid at the point
// corrected by corr.N and corr.E, and applied backwards: the differences are
// subtracted, which takes a WGS84 point to the local datum. Every point lies at
// the assumed ellipsoidal height h = 200 m.

#include <cmath>

#include "engine/engine.h"
#include "engine/geodetic_constants.h"
#include "engine/prepared_operations.h"

namespace tervela {

using namespace geodesy;

namespace engine_internal {

// The translation and corrections, with the local ellipsoid and the
// parameter-only factors of delta phi derived with the system (grid_system.cpp).
PreparedThreeParameterShift::PreparedThreeParameterShift(const TGridSystem& system,
                                                         fp::Checking checking)
    : shift_(system.molodensky), ellipsoid_(system.ellipsoid.molodensky_), checking_(checking) {}

// The shift of one point, or of one point per lane.
template <class Point>
fp::Fault PreparedThreeParameterShift::Apply(Point& point,
                                             CarriedTrig<ValueOf<Point>>* carried) const {
  using T = ValueOf<Point>;
  // The empirical corrections corr.N and corr.E, written to the point at once.
  const T corrected_latitude = shift_.corr_n_degrees_ + point.Latitude;
  const T corrected_longitude = shift_.corr_e_degrees_ + point.Longitude;
  if (const fp::Fault fault = fp::CheckStep(checking_, corrected_latitude, corrected_longitude);
      fault != fp::Fault::NoFault) {
    return fault;
  }
  point.Latitude = corrected_latitude;
  point.Longitude = corrected_longitude;

  // A fault of the local ellipsoid ends the shift here, with the corrected
  // values in the point.
  if (ellipsoid_.fault != fp::Fault::NoFault) return ellipsoid_.fault;

  // The corrected point in radians, with its sines and cosines.
  const double h = kAssumedHeight;
  const T phi = corrected_latitude * kRadiansPerDegree;
  const T lambda = corrected_longitude * kRadiansPerDegree;
  const CarriedTrig<T> start = TrigNear(phi, lambda, carried);
  const T sin_phi = start.phi.sin, cos_phi = start.phi.cos;
  const T sin_lambda = start.lambda.sin, cos_lambda = start.lambda.cos;

  // The ellipsoid at phi: W = 1 - (e sin phi)^2. The radii of curvature in the prime
  // vertical, N = a / sqrt(W), and in the meridian, M = (1 - e^2) a / W^(3/2),
  // enter delta phi and delta lambda through sqrt(W) and W^(3/2).
  const T W = 1 - ellipsoid_.e2 * (sin_phi * sin_phi);
  const T sqrt_W = Sqrt(W);
  const T W_sqrt_W = W * sqrt_W;

  // Molodensky's delta phi = S / (M + h), S being the sum of
  //   -Dx sin(phi) cos(lambda) - Dy sin(phi) sin(lambda) + Dz cos(phi)   (= A)
  //   + Da N e^2 sin(phi) cos(phi) / a + df (a/b M + b/a N) sin(phi) cos(phi).
  // Above and below multiplied by W^(3/2), with N W^(3/2) = a W and
  // M W^(3/2) = (1 - e^2) a, it is
  //   (A W^(3/2) + sin(phi) cos(phi) ((Da e^2 + df b) W + df a/b (1 - e^2) a))
  //   / ((1 - e^2) a + h W^(3/2)),
  // one division after the square root where the formula as written has
  // three; the order of the terms and the placement of the reciprocals only
  // change the last bits.
  const auto& [dx, dy, dz] = shift_.translation_;
  const T A = -dx * sin_phi * cos_lambda - dy * sin_phi * sin_lambda + dz * cos_phi;
  const TEllipsoid::MolodenskyTerms& e = ellipsoid_;
  const T delta_phi = (A * W_sqrt_W + sin_phi * cos_phi * (e.n_terms_factor * W + e.m_term_factor)) /
                      (e.one_minus_e2_times_a + h * W_sqrt_W);

  // Molodensky's delta lambda = (-Dx sin(lambda) + Dy cos(lambda)) / ((N + h) cos(phi)),
  // above and below multiplied by sqrt(W).
  const T delta_lambda =
      (-dx * sin_lambda + dy * cos_lambda) * sqrt_W / ((ellipsoid_.a + h * sqrt_W) * cos_phi);

  // Both subtracted: the shift applied backwards.
  const T latitude = corrected_latitude - delta_phi * kDegreesPerRadian;
  const T longitude = corrected_longitude - delta_lambda * kDegreesPerRadian;
  return StoreShiftResult(checking_, latitude, longitude, start, point, carried);
}

template fp::Fault PreparedThreeParameterShift::Apply(TWorkingPoint&, CarriedTrig<double>*) const;
template fp::Fault PreparedThreeParameterShift::Apply(PointLanes&, CarriedTrig<Lanes>*) const;

}  // namespace engine_internal

Status ThreeParameterShift(const TGridSystem& system, TWorkingPoint& point) {
  return engine_internal::RunAlone<engine_internal::PreparedThreeParameterShift,
                                   &TWorkingPoint::Latitude, &TWorkingPoint::Longitude>(system,
                                                                                        point);
}

}  // namespace tervela
