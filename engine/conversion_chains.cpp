// Part 1.5: the two conversion chains and the grid-to-geographic inversion.
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

using engine_internal::PreparedSevenParameterShift;
using engine_internal::PreparedThreeParameterShift;
using engine_internal::PreparedTransverseMercator;

// One run of the forward chain: WGS84 Latitude/Longitude -> local datum ->
// Northing/Easting.
template <class Shift>
fp::Fault Forward(const Shift& shift, const PreparedTransverseMercator& projection,
                  TWorkingPoint& point, fp::Checking checking) {
  if (const fp::Fault fault = shift.Apply(point, checking); fault != fp::Fault::kNone) {
    return fault;
  }
  return projection.Apply(point, checking);
}

// GridToGeographic's algorithm, steps 1 to 3.
template <class Shift>
fp::Fault Invert(const Shift& shift, const PreparedTransverseMercator& projection,
                 TWorkingPoint& point, fp::Checking checking) {
  using namespace geodesy::inversion;

  // Step 1: the forward image of the start point is the first residual base.
  double la = kStartLatitude;
  double lo = kStartLongitude;
  point.Latitude = la;
  point.Longitude = lo;
  if (const fp::Fault fault = Forward(shift, projection, point, checking);
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
    if (const fp::Fault fault = Forward(shift, projection, point, checking);
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

// Sets up the shift of `method` and the projection, and runs `chain` (Forward
// or Invert) with them.
template <class Chain>
fp::Fault WithOperations(const TParameterSet& set, TShiftMethod method, TWorkingPoint& point,
                         fp::Checking checking, Chain chain) {
  const PreparedTransverseMercator projection(set, checking);
  switch (method) {
    case TShiftMethod::ThreeParameter:
      return chain(PreparedThreeParameterShift(set, checking), projection, point, checking);
    case TShiftMethod::SevenParameter:
      return chain(PreparedSevenParameterShift(set, checking), projection, point, checking);
  }
  return fp::Fault::kNone;
}

}  // namespace

Status GeographicToGrid(const TParameterSet& set, TShiftMethod method, TWorkingPoint& point) {
  return fp::RunWithFaultCheck<&TWorkingPoint::Latitude, &TWorkingPoint::Longitude,
                               &TWorkingPoint::Northing, &TWorkingPoint::Easting>(
      point, [&](TWorkingPoint& p, fp::Checking checking) {
        return WithOperations(set, method, p, checking, [](const auto& shift, const auto& projection,
                                                           TWorkingPoint& q, fp::Checking c) {
          return Forward(shift, projection, q, c);
        });
      });
}

Status GridToGeographic(const TParameterSet& set, TShiftMethod method, TWorkingPoint& point) {
  return fp::RunWithFaultCheck<&TWorkingPoint::Latitude, &TWorkingPoint::Longitude,
                               &TWorkingPoint::Northing, &TWorkingPoint::Easting>(
      point, [&](TWorkingPoint& p, fp::Checking checking) {
        return WithOperations(set, method, p, checking, [](const auto& shift, const auto& projection,
                                                           TWorkingPoint& q, fp::Checking c) {
          return Invert(shift, projection, q, c);
        });
      });
}

}  // namespace tervela
