#pragma once

// The engine's operations as a per-point part applied to values derived once
// per system (grid_system.h), so that a chain run many times on one system
// (the eleven forward runs of GridToGeographic) takes them as they are.
// Internal to the engine; the public operations of engine.h are each one
// Prepared object applied once.
//
// A Prepared object copies the values its formula reads, and the fault their
// derivation raised. Under fp::Checking::EveryStep that fault is reported by
// Apply at the place the formula's step order gives it, after the steps that
// come before it have run and written what they write; a point-dependent
// step that comes first may so fault first. A step that faults writes
// nothing. Under fp::Checking::AtEnd nothing is tested and Apply returns
// only that fault, where the formula reaches it; the caller tests the rest
// once at the end (fp::RunWithFaultCheck).
//
// Each Apply takes one point (TWorkingPoint) or one point per lane
// (PointLanes, lanes.h); the lanes run at AtEnd only, on systems without
// such a fault.

#include "engine/carried_trig.h"
#include "engine/floating_point_check.h"
#include "engine/grid_system.h"
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

// A public operation of engine.h: `Prepared` set up from `system` and
// applied once to `point`, under fp::RunWithFaultCheck over the fields it
// writes.
template <class Prepared, double TWorkingPoint::*... kOutputs>
Status RunAlone(const TGridSystem& system, TWorkingPoint& point) {
  return fp::RunWithFaultCheck<kOutputs...>(
      point, [&system](TWorkingPoint& p, fp::Checking checking) {
        return Prepared(system, checking).Apply(p);
      });
}

// Three-parameter shift: Molodensky, applied backwards after corr.N and corr.E.
class PreparedThreeParameterShift {
 public:
  // The shift of a conversion chain refuses a point near a pole that the
  // formula would turn about the Earth's axis further than it holds for
  // (three_parameter_shift.cpp); the operation alone (`chained` false) takes
  // every point.
  PreparedThreeParameterShift(const TGridSystem& system, fp::Checking checking,
                              bool chained = true);
  // `carried`, when given, offers the sines and cosines of the last run and
  // receives those of this one (of the point corrected by corr.N and corr.E).
  template <class Point>
  fp::Fault Apply(Point& point, CarriedTrig<ValueOf<Point>>* carried = nullptr) const;
  fp::Fault set_up_fault() const { return ellipsoid_.fault; }

 private:
  TMolodenskyShift shift_;
  TEllipsoid::MolodenskyTerms ellipsoid_;
  fp::Checking checking_;
  bool chained_;
};

// Seven-parameter shift: WGS84 geodetic -> geocentric, Helmert, geocentric -> local geodetic.
class PreparedSevenParameterShift {
 public:
  PreparedSevenParameterShift(const TGridSystem& system, fp::Checking checking);
  // `carried` as for the three-parameter shift (of the WGS84 point), with the
  // sine and cosine of the local latitude.
  template <class Point>
  fp::Fault Apply(Point& point, CarriedTrig<ValueOf<Point>>* carried = nullptr) const;
  fp::Fault set_up_fault() const { return setup_fault_; }

 private:
  THelmertShift helmert_;
  TEllipsoid::BowringTerms ellipsoid_;
  fp::Checking checking_;
  fp::Fault setup_fault_;
};

// Gauss-Krueger Transverse Mercator.
class PreparedTransverseMercator {
 public:
  PreparedTransverseMercator(const TGridSystem& system, fp::Checking checking);
  // `carried`, when given, offers the shift's latitude of the same run.
  template <class Point>
  fp::Fault Apply(Point& point, const CarriedTrig<ValueOf<Point>>* carried = nullptr) const;
  fp::Fault set_up_fault() const { return ellipsoid_.fault; }

  // A first estimate of the local latitude and longitude whose image is
  // (northing, easting), within a fraction of a degree near the central
  // meridian: where the inversion starts Newton's method when the fixed steps
  // from 45 N, 13 E cannot reach the target.
  void Footpoint(double northing, double easting, double& latitude, double& longitude) const;

  // Grid convergence [degrees] and point scale factor at the local-datum
  // `latitude` and `longitude` [degrees], from the derivatives of the series
  // Apply evaluates (grid_scale.cpp).
  template <class T>
  fp::Fault ConvergenceAndScale(const T& latitude, const T& longitude, T& convergence,
                                T& scale) const;

 private:
  TTransverseMercator projection_;
  TEllipsoid::ProjectionTerms ellipsoid_;
  fp::Checking checking_;
};

}  // namespace tervela::engine_internal
