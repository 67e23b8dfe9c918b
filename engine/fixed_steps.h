#pragma once

// The fixed-gain part of the grid-to-geographic inversion, shared by the
// one-point inversion and the lanes. Internal to the engine.

#include <cmath>

#include "engine/forward_run.h"
#include "engine/geodetic_constants.h"
#include "engine/lanes.h"

namespace tervela::engine_internal {

// The sines and cosines of the start point, formed once: the first run's
// shift starts at it or, after corr.N and corr.E, near it.
inline const CarriedTrig<>& StartPointTrig() {
  using namespace geodesy;
  static const CarriedTrig<> trig = TrigNear<double>(
      inversion::kStartLatitude * kRadiansPerDegree,
      inversion::kStartLongitude * kRadiansPerDegree, nullptr);
  return trig;
}

// The same in every lane.
template <class T>
CarriedTrig<T> StartPointTrigOf() {
  const auto broadcast = [](const AngleTrig<>& trig) {
    return AngleTrig<T>{trig.known, Broadcast<T>(trig.angle), Broadcast<T>(trig.sin),
                        Broadcast<T>(trig.cos)};
  };
  const CarriedTrig<>& start = StartPointTrig();
  return {broadcast(start.phi), broadcast(start.lambda), broadcast(start.result_phi)};
}

// The forward image of the start point, then ten corrections with fixed
// gains, both from the same residual base. Leaves the estimate in (la, lo),
// its image in the point and its sines and cosines in `carried`.
template <class Shift, class Point, class T = ValueOf<Point>>
fp::Fault TakeFixedSteps(const Shift& shift, const PreparedTransverseMercator& projection,
                         Point& point, fp::Checking checking, T& la, T& lo,
                         CarriedTrig<T>& carried) {
  using namespace geodesy::inversion;
  la = Broadcast<T>(kStartLatitude);
  lo = Broadcast<T>(kStartLongitude);
  point.Latitude = la;
  point.Longitude = lo;
  carried = StartPointTrigOf<T>();
  if (const fp::Fault fault = Forward(shift, projection, point, carried);
      fault != fp::Fault::NoFault) {
    return fault;
  }
  T N = point.Northing;
  T E = point.Easting;
  for (int iteration = 0; iteration < kIterations; ++iteration) {
    const T dla = (point.TargetNorthing - N) * kLatitudeGain;
    const T dlo = (point.TargetEasting - E) * kLongitudeGain;
    const T next_la = la + dla;
    const T next_lo = lo + dlo;
    if (const fp::Fault fault = fp::CheckStep(checking, next_la, next_lo);
        fault != fp::Fault::NoFault) {
      return fault;
    }
    la = next_la;
    lo = next_lo;
    point.Longitude = lo;
    point.Latitude = la;
    if (const fp::Fault fault = Forward(shift, projection, point, carried);
        fault != fp::Fault::NoFault) {
      return fault;
    }
    N = point.Northing;
    E = point.Easting;
  }
  return fp::Fault::NoFault;
}

// Whether the grid image in `point` is within kFixedStepsTolerance of its
// target: the fixed steps' estimate then stands as it is.
inline bool WithinFixedStepsTolerance(const TWorkingPoint& point) {
  using geodesy::inversion::kFixedStepsTolerance;
  return std::fabs(point.TargetNorthing - point.Northing) <= kFixedStepsTolerance &&
         std::fabs(point.TargetEasting - point.Easting) <= kFixedStepsTolerance;
}

}  // namespace tervela::engine_internal
