// Part 1.2: Three-parameter datum shift.
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

// Step 4, the part of it that depends on the parameters alone: the local
// ellipsoid a = 6378137 - Da, f = 0.00335281066474 - df, b = (1 - f) a and the
// first eccentricity e = sqrt((2 - f) f). A df above 33.5281066474 makes f
// negative, and this square root an invalid operation.
PreparedThreeParameterShift::PreparedThreeParameterShift(const TParameterSet& set,
                                                         fp::Checking checking)
    : dx_(set.Dx), dy_(set.Dy), dz_(set.Dz), da_(set.Da), corr_n_(set.CorrN), corr_e_(set.CorrE) {
  delta_f_ = set.Df / kFlatteningDifferenceScale;
  a_ = kWgs84SemiMajorAxis - set.Da;
  const double f = kWgs84Flattening - delta_f_;
  const double b = (1 - f) * a_;
  const double e = std::sqrt((2 - f) * f);
  e2_ = e * e;
  one_minus_e2_times_a_ = (1 - e2_) * a_;
  a_over_b_ = a_ / b;
  b_over_a_ = b / a_;
  setup_fault_ = fp::CheckStep(checking, delta_f_, a_, f, b, e, e2_, one_minus_e2_times_a_, a_over_b_,
                               b_over_a_);
}

fp::Fault PreparedThreeParameterShift::Apply(TWorkingPoint& point, fp::Checking checking) const {
  // Step 1: the empirical corrections, written to the point at once.
  const double corrected_latitude = corr_n_ / kArcSecondsPerDegree + point.Latitude;
  const double corrected_longitude = corr_e_ / kArcSecondsPerDegree + point.Longitude;
  if (const fp::Fault fault = fp::CheckStep(checking, corrected_latitude, corrected_longitude);
      fault != fp::Fault::kNone) {
    return fault;
  }
  point.Latitude = corrected_latitude;
  point.Longitude = corrected_longitude;

  // A fault of the local ellipsoid (step 4) ends the shift here, with the
  // corrected values of step 1 in the point.
  if (setup_fault_ != fp::Fault::kNone) return setup_fault_;

  // Steps 2 and 3.
  const double h = kAssumedHeight;
  const double phi = corrected_latitude * kRadiansPerDegree;
  const double lambda = corrected_longitude * kRadiansPerDegree;
  const double sin_phi = std::sin(phi);
  const double cos_phi = std::cos(phi);
  const double sin_lambda = std::sin(lambda);
  const double cos_lambda = std::cos(lambda);

  // Step 4 at phi: W = 1 - (e sin phi)^2, the radius of curvature in the prime
  // vertical N = a / sqrt(W) and in the meridian M = (1 - e^2) a / sqrt(W^3).
  const double W = 1 - e2_ * (sin_phi * sin_phi);
  const double sqrt_W = std::sqrt(W);
  const double N = a_ / sqrt_W;
  const double M = one_minus_e2_times_a_ / (W * sqrt_W);

  // Step 5: the latitude difference, its five terms summed in the Part's order.
  const double sin_phi_cos_phi = sin_phi * cos_phi;
  const double S = -dx_ * sin_phi * cos_lambda - dy_ * sin_phi * sin_lambda + dz_ * cos_phi +
                   da_ * N * e2_ * sin_phi_cos_phi / a_ +
                   delta_f_ * (a_over_b_ * M + b_over_a_ * N) * sin_phi_cos_phi;
  const double delta_phi = S / (M + h);

  // Step 6: the longitude difference.
  const double delta_lambda = (-dx_ * sin_lambda + dy_ * cos_lambda) / ((N + h) * cos_phi);

  // Step 7: both subtracted.
  const double latitude = corrected_latitude - delta_phi * kDegreesPerRadian;
  const double longitude = corrected_longitude - delta_lambda * kDegreesPerRadian;
  if (const fp::Fault fault = fp::CheckStep(checking, latitude, longitude); fault != fp::Fault::kNone) {
    return fault;
  }
  point.Latitude = latitude;
  point.Longitude = longitude;
  return fp::Fault::kNone;
}

}  // namespace engine_internal

Status ThreeParameterShift(const TParameterSet& set, TWorkingPoint& point) {
  return fp::RunWithFaultCheck<&TWorkingPoint::Latitude, &TWorkingPoint::Longitude>(
      point, [&set](TWorkingPoint& p, fp::Checking checking) {
        return engine_internal::PreparedThreeParameterShift(set, checking).Apply(p, checking);
      });
}

}  // namespace tervela
