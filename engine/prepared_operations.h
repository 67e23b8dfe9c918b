#pragma once

// The engine's operations with their parameter-only part separated from the
// per-point part, so that a chain run many times on one parameter set (the
// eleven forward runs of GridToGeographic) sets up its ellipsoids and
// its rotation matrix once. Internal to the engine; the public operations of
// engine.h are each one set-up followed by one Apply.
//
// Under fp::Checking::EveryStep a fault of the set-up is not reported when it
// arises but kept, and reported by Apply at the place the formula's step order
// gives it, after the steps that come before it have run and written what
// they write; a point-dependent step that comes first may so fault first. A
// step that faults writes nothing. Under fp::Checking::AtEnd nothing is
// tested; the caller tests once at the end (fp::RunWithFaultCheck).
//
// Each Apply takes one point (TWorkingPoint) or one point per lane
// (PointLanes, lanes.h); the lanes run at AtEnd only.

#include "engine/carried_trig.h"
#include "engine/floating_point_check.h"
#include "engine/parameter_set.h"
#include "engine/working_point.h"

namespace tervela::engine_internal {

// The last step of both shifts: checks the new latitude and longitude, writes
// them, and hands on the sines and cosines `trig` of the point the shift
// started from and, where formed, of its result latitude.
template <class Point, class T = ValueOf<Point>>
fp::Fault StoreShiftResult(fp::Checking checking, const T& latitude, const T& longitude,
                           const CarriedTrig<T>& trig, Point& point, CarriedTrig<T>* carried) {
  if (const fp::Fault fault = fp::CheckStep(checking, latitude, longitude, trig.result_phi.sin,
                                            trig.result_phi.cos);
      fault != fp::Fault::NoFault) {
    return fault;
  }
  point.Latitude = latitude;
  point.Longitude = longitude;
  if (carried != nullptr) *carried = trig;
  return fp::Fault::NoFault;
}

// A public operation of engine.h: `Prepared` set up from `set` and applied
// once to `point`, under fp::RunWithFaultCheck over the fields it writes.
template <class Prepared, double TWorkingPoint::*... kOutputs>
Status RunAlone(const TParameterSet& set, TWorkingPoint& point) {
  return fp::RunWithFaultCheck<kOutputs...>(
      point, [&set](TWorkingPoint& p, fp::Checking checking) {
        return Prepared(set, checking).Apply(p);
      });
}

// Three-parameter shift: Molodensky, applied backwards after corr.N and corr.E.
class PreparedThreeParameterShift {
 public:
  // The shift of a conversion chain refuses a point near a pole that the
  // formula would turn about the Earth's axis further than it holds for
  // (three_parameter_shift.cpp); the operation alone (`chained` false) takes
  // every point.
  PreparedThreeParameterShift(const TParameterSet& set, fp::Checking checking, bool chained = true);
  // `carried`, when given, offers the sines and cosines of the last run and
  // receives those of this one (of the point corrected by corr.N and corr.E).
  template <class Point>
  fp::Fault Apply(Point& point, CarriedTrig<ValueOf<Point>>* carried = nullptr) const;

 private:
  // From the parameter set.
  double dx_, dy_, dz_;
  double corr_n_degrees_, corr_e_degrees_;  // corr.N / 3600, corr.E / 3600
  // The local ellipsoid and the parameter-only factors of Molodensky's delta phi.
  double a_;
  double e2_;
  double one_minus_e2_times_a_;  // (1 - e^2) a
  double n_terms_factor_;        // Da e^2 + df b
  double m_term_factor_;         // df a/b (1 - e^2) a
  fp::Checking checking_;
  bool chained_;
  fp::Fault setup_fault_;
};

// Seven-parameter shift: WGS84 geodetic -> geocentric, Helmert, geocentric -> local geodetic.
class PreparedSevenParameterShift {
 public:
  PreparedSevenParameterShift(const TParameterSet& set, fp::Checking checking);
  // `carried` as for the three-parameter shift (of the WGS84 point), with the
  // sine and cosine of the local latitude.
  template <class Point>
  fp::Fault Apply(Point& point, CarriedTrig<ValueOf<Point>>* carried = nullptr) const;

 private:
  // The similarity transformation: translation, 1 + K and the rotation matrix R.
  double t_[3];
  double one_plus_k_;
  double r_[3][3];
  // The local ellipsoid of Bowring's formula.
  double a_, b_;
  double e2_, second_e2_;      // e^2 and e'^2
  double e2_a_, second_e2_b_;  // e^2 a and e'^2 b of Bowring's formula
  double a_over_b_;            // a / b, of the parametric latitude
  fp::Checking checking_;
  fp::Fault setup_fault_;
};

// Gauss-Krueger Transverse Mercator.
class PreparedTransverseMercator {
 public:
  PreparedTransverseMercator(const TParameterSet& set, fp::Checking checking);
  // `carried`, when given, offers the shift's latitude of the same run.
  template <class Point>
  fp::Fault Apply(Point& point, const CarriedTrig<ValueOf<Point>>* carried = nullptr) const;

  // A first estimate of the local latitude and longitude whose image is
  // (northing, easting), within a fraction of a degree near the central
  // meridian: where the inversion starts Newton's method when the fixed steps
  // from 45 N, 13 E cannot reach the target.
  void Footpoint(double northing, double easting, double& latitude, double& longitude) const;

  // Intermediate quantities of the projection's worked example, for the tests.
  double b() const { return b_; }
  double n() const { return n_; }
  double MeridianArc(double phi) const;              // G at phi [m]
  double PrimeVerticalRadius(double sin_phi) const;  // nu at phi [m]

  // Grid convergence [degrees] and point scale factor at the local-datum
  // `latitude` and `longitude` [degrees], from the derivatives of the series
  // Apply evaluates (grid_scale.cpp).
  template <class T>
  fp::Fault ConvergenceAndScale(const T& latitude, const T& longitude, T& convergence,
                                T& scale) const;

 private:
  double scale_factor_, false_easting_, false_northing_, central_meridian_;
  // The local ellipsoid and the meridian-arc coefficients.
  double a_, b_;
  double e2_, second_e2_;  // e^2 and e'^2
  double n_;
  double alpha_, beta_, gamma_, delta_;
  fp::Checking checking_;
  fp::Fault setup_fault_;
};

}  // namespace tervela::engine_internal
