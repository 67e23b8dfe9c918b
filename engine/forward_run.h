#pragma once

// One run of the forward chain, and a chain run on one point under the fault
// check. Internal to the engine: the conversion chains, the inversion and the
// lanes all build on them.

#include <cmath>

#include "common/result.h"
#include "engine/engine.h"
#include "engine/floating_point_check.h"
#include "engine/geodetic_constants.h"
#include "engine/prepared_operations.h"

namespace tervela::engine_internal {

// One run of the forward chain: WGS84 Latitude/Longitude -> local datum ->
// Northing/Easting. The sines and cosines of the shift's latitude and
// longitude go on to the projection and to the next run (carried_trig.h).
// Forward and Invert take the operations' per-point steps inline (flatten),
// so that a run's values pass from step to step in registers; the engine is
// built as one translation unit for it (CMakeLists.txt).
template <class Shift, class Point>
[[gnu::flatten]] fp::Fault Forward(const Shift& shift, const PreparedTransverseMercator& projection,
                                   Point& point, CarriedTrig<ValueOf<Point>>& carried) {
  if (const fp::Fault fault = shift.Apply(point, &carried); fault != fp::Fault::NoFault) {
    return fault;
  }
  return projection.Apply(point, &carried);
}

// Whether a latitude lies beyond a pole: no point of the Earth has it. A NaN
// is left to the chains' own fault check.
inline bool BeyondPole(double latitude) { return std::fabs(latitude) > geodesy::kPoleLatitude; }

// Runs `run(shift, projection, point, checking)` under fp::RunWithFaultCheck
// over the four fields a chain writes, with the projection and the shift of
// `method` set up once per run.
template <class Run>
Status RunChain(const TGridSystem& system, TShiftMethod method, TWorkingPoint& point,
                const Run& run) {
  return fp::RunWithFaultCheck<&TWorkingPoint::Latitude, &TWorkingPoint::Longitude,
                               &TWorkingPoint::Northing, &TWorkingPoint::Easting>(
      point, [&](TWorkingPoint& p, fp::Checking checking) {
        const PreparedTransverseMercator projection(system, checking);
        switch (method) {
          case TShiftMethod::ThreeParameter:
            return run(PreparedThreeParameterShift(system, checking), projection, p, checking);
          case TShiftMethod::SevenParameter:
            return run(PreparedSevenParameterShift(system, checking), projection, p, checking);
        }
        return fp::Fault::NoFault;
      });
}

}  // namespace tervela::engine_internal
