// Three-parameter datum shift.
// Source: Molodensky, Eremeev and Yurkina, Methods for Study of the External Gravitational Field and Figure of the Earth (1962).
//
// The standard Molodensky formula for the change of geodetic latitude and
// longitude caused by a translation (Dx, Dy, Dz) of the datum and a change
// (Da, df) of its ellipsoid, evaluated with the local ellipsoid at the point
// corrected by corr.N and corr.E, and applied backwards: the differences are
// subtracted, which takes a WGS84 point to the local datum. Every point lies at
// the assumed ellipsoidal height h = 200 m.
//
// The formula is of first order in the shift over the point's distance from
// the Earth's axis, (N + h) cos(phi), and delta lambda is the ratio of the
// shift's east part to that distance. Near a pole the distance falls below
// the shift: delta lambda grows without bound, and the formula turns the point
// about the axis by any angle instead of moving it by the shift (by a million
// degrees at 89.9999999 N, a kilometre off). A conversion chain refuses a
// point the formula would turn by more than one degree, where the neglected
// second-order term (half the shift times delta lambda) reaches metres:
// within some tens of kilometres of a pole, for a shift of some hundred
// metres. The operation alone is the formula as it stands.

#include <cmath>
#include <limits>

#include "engine/engine.h"
#include "engine/geodetic_constants.h"
#include "engine/prepared_operations.h"

namespace tervela {

using namespace geodesy;

namespace engine_internal {

namespace {

// Refuses the point whose delta lambda (radians) turns it further than the
// formula holds. For lanes, the longitude of each lane whose point it refuses
// becomes a NaN, which takes that point through the one-point chain.
fp::Fault RefuseLongTurn(double delta_lambda, double&) {
  return std::isgreater(std::fabs(delta_lambda), kLargestMolodenskyTurn) ? fp::Fault::TooNearPole
                                                                         : fp::Fault::NoFault;
}

fp::Fault RefuseLongTurn(const Lanes& delta_lambda, Lanes& longitude) {
  for (int i = 0; i < kLaneCount; ++i) {
    if (std::isgreater(std::fabs(delta_lambda[i]), kLargestMolodenskyTurn)) {
      longitude[i] = std::numeric_limits<double>::quiet_NaN();
    }
  }
  return fp::Fault::NoFault;
}

}  // namespace

// The translation and corrections, with the local ellipsoid and the
// parameter-only factors of delta phi derived with the system (grid_system.cpp).
PreparedThreeParameterShift::PreparedThreeParameterShift(const TGridSystem& system,
                                                         fp::Checking checking, bool chained)
    : shift_(system.molodensky),
      ellipsoid_(system.ellipsoid.molodensky_),
      checking_(checking),
      chained_(chained) {}

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
  T longitude = corrected_longitude - delta_lambda * kDegreesPerRadian;
  if (chained_) {
    if (const fp::Fault fault = RefuseLongTurn(delta_lambda, longitude);
        fault != fp::Fault::NoFault) {
      return fault;
    }
  }
  return StoreShiftResult(checking_, latitude, longitude, start, point, carried);
}

template fp::Fault PreparedThreeParameterShift::Apply(TWorkingPoint&, CarriedTrig<double>*) const;
template fp::Fault PreparedThreeParameterShift::Apply(PointLanes&, CarriedTrig<Lanes>*) const;

}  // namespace engine_internal

Status ThreeParameterShift(const TGridSystem& system, TWorkingPoint& point) {
  return fp::RunWithFaultCheck<&TWorkingPoint::Latitude, &TWorkingPoint::Longitude>(
      point, [&system](TWorkingPoint& p, fp::Checking checking) {
        return engine_internal::PreparedThreeParameterShift(system, checking, false).Apply(p);
      });
}

}  // namespace tervela
