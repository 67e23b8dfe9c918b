// The two conversion chains and the grid-to-geographic inversion.
//
// GeographicToGrid is the datum shift of the chosen method followed by the
// projection. GridToGeographic has no analytic inverse to use: it runs the
// forward chain from 45 N, 13 E and corrects the estimate ten times with fixed
// gains, the latitude from the northing residual and the longitude from the
// easting residual, eleven forward runs in all. The shift, the projection and
// their ellipsoids are set up once per call and reused by every run.

#include "engine/engine.h"
#include "engine/floating_point_check.h"
#include "engine/geodetic_constants.h"
#include "engine/prepared_operations.h"

namespace tervela {

namespace {

using engine_internal::CarriedTrig;
using engine_internal::PreparedSevenParameterShift;
using engine_internal::PreparedThreeParameterShift;
using engine_internal::PreparedTransverseMercator;

// One run of the forward chain: WGS84 Latitude/Longitude -> local datum ->
// Northing/Easting. The sines and cosines of the shift's latitude and
// longitude go on to the projection and to the next run (carried_trig.h).
// Forward and Invert take the operations' per-point steps inline (flatten),
// so that a run's values pass from step to step in registers; the engine is
// built as one translation unit for it (CMakeLists.txt).
template <class Shift>
[[gnu::flatten]] fp::Fault Forward(const Shift& shift, const PreparedTransverseMercator& projection,
                                   TWorkingPoint& point, CarriedTrig& carried) {
  if (const fp::Fault fault = shift.Apply(point, &carried); fault != fp::Fault::kNone) {
    return fault;
  }
  return projection.Apply(point, &carried);
}

// GridToGeographic's algorithm, steps 1 to 3.
template <class Shift>
[[gnu::flatten]] fp::Fault Invert(const Shift& shift, const PreparedTransverseMercator& projection,
                                  TWorkingPoint& point, fp::Checking checking) {
  using namespace geodesy::inversion;

  // Step 1: the forward image of the start point is the first residual base.
  double la = kStartLatitude;
  double lo = kStartLongitude;
  point.Latitude = la;
  point.Longitude = lo;
  CarriedTrig carried;
  if (const fp::Fault fault = Forward(shift, projection, point, carried);
      fault != fp::Fault::kNone) {
    return fault;
  }
  double N = point.Northing;
  double E = point.Easting;

  // Step 2: ten corrections, both from the same residual base.
  for (int iteration = 0; iteration < kIterations; ++iteration) {
    const double dla = (point.TargetNorthing - N) * kLatitudeGain;
    const double dlo = (point.TargetEasting - E) * kLongitudeGain;
    const double next_la = la + dla;
    const double next_lo = lo + dlo;
    if (const fp::Fault fault = fp::CheckStep(checking, next_la, next_lo);
        fault != fp::Fault::kNone) {
      return fault;
    }
    la = next_la;
    lo = next_lo;
    point.Longitude = lo;
    point.Latitude = la;
    if (const fp::Fault fault = Forward(shift, projection, point, carried);
        fault != fp::Fault::kNone) {
      return fault;
    }
    N = point.Northing;
    E = point.Easting;
  }

  // Step 3: the WGS84 estimate replaces the local-datum image that the last
  // shift left in the point.
  point.Latitude = la;
  point.Longitude = lo;
  return fp::Fault::kNone;
}

enum class Chain { kForward, kInverse };

// Sets up the projection and the shift of `method` once, and runs the chain.
template <class Shift>
fp::Fault RunChain(Chain chain, const Shift& shift, const PreparedTransverseMercator& projection,
                   TWorkingPoint& point, fp::Checking checking) {
  if (chain == Chain::kInverse) return Invert(shift, projection, point, checking);
  CarriedTrig carried;
  return Forward(shift, projection, point, carried);
}

fp::Fault RunChain(Chain chain, const TParameterSet& set, TShiftMethod method, TWorkingPoint& point,
                   fp::Checking checking) {
  const PreparedTransverseMercator projection(set, checking);
  switch (method) {
    case TShiftMethod::ThreeParameter:
      return RunChain(chain, PreparedThreeParameterShift(set, checking), projection, point,
                      checking);
    case TShiftMethod::SevenParameter:
      return RunChain(chain, PreparedSevenParameterShift(set, checking), projection, point,
                      checking);
  }
  return fp::Fault::kNone;
}

}  // namespace

Status GeographicToGrid(const TParameterSet& set, TShiftMethod method, TWorkingPoint& point) {
  return fp::RunWithFaultCheck<&TWorkingPoint::Latitude, &TWorkingPoint::Longitude,
                               &TWorkingPoint::Northing, &TWorkingPoint::Easting>(
      point, [&](TWorkingPoint& p, fp::Checking checking) {
        return RunChain(Chain::kForward, set, method, p, checking);
      });
}

Status GridToGeographic(const TParameterSet& set, TShiftMethod method, TWorkingPoint& point) {
  return fp::RunWithFaultCheck<&TWorkingPoint::Latitude, &TWorkingPoint::Longitude,
                               &TWorkingPoint::Northing, &TWorkingPoint::Easting>(
      point, [&](TWorkingPoint& p, fp::Checking checking) {
        return RunChain(Chain::kInverse, set, method, p, checking);
      });
}

}  // namespace tervela
