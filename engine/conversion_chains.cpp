// The two conversion chains and the grid-to-geographic inversion.
//
// GeographicToGrid is the datum shift of the chosen method followed by the
// projection. GridToGeographic has no analytic inverse to use: it runs the
// forward chain from 45 N, 13 E and corrects the estimate ten times with fixed
// gains, the latitude from the northing residual and the longitude from the
// easting residual, eleven forward runs in all. Those gains fit the area
// around the start point only; where the ten corrections leave a grid
// residual above 0.1 mm, Newton's method on the forward chain takes the
// estimate on until the residual is at most 1e-6 m, or the inversion fails.
// The shift, the projection and their ellipsoids are set up once per call and
// reused by every run.

#include <cmath>

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
  if (const fp::Fault fault = shift.Apply(point, &carried); fault != fp::Fault::NoFault) {
    return fault;
  }
  return projection.Apply(point, &carried);
}

// Newton's method on the forward chain, from the estimate (la, lo) whose
// image the last run left in the point and whose sines and cosines are in
// `carried`. Each step takes the Jacobian of the chain by forward differences
// (two runs) and solves for the correction that zeroes the grid residual; a
// step longer than kLargestNewtonStep is shortened, and a step that does not
// reduce the residual (the sum of the magnitudes of its two parts) is halved
// until it does. Returns with `converged` set once both parts are at most
// kNewtonTolerance, with it cleared when the residual is not finite, the
// Jacobian singular or the runs spent; either way the point holds the image
// of the last run. Kept out
// of line: it runs only where the fixed steps fall short.
template <class Shift>
[[gnu::noinline, gnu::flatten]] fp::Fault RefineByNewton(
    const Shift& shift, const PreparedTransverseMercator& projection, TWorkingPoint& point,
    CarriedTrig& carried, fp::Checking checking, double& la, double& lo, bool& converged) {
  using namespace geodesy::inversion;
  struct Residual {
    double northing, easting;
    double Size() const { return std::fabs(northing) + std::fabs(easting); }
  };
  // Target minus image of the forward run at (latitude, longitude).
  const auto residual_at = [&](double latitude, double longitude, Residual& residual) {
    point.Latitude = latitude;
    point.Longitude = longitude;
    if (const fp::Fault fault = Forward(shift, projection, point, carried);
        fault != fp::Fault::NoFault) {
      return fault;
    }
    residual = {point.TargetNorthing - point.Northing, point.TargetEasting - point.Easting};
    return fp::CheckStep(checking, residual.northing, residual.easting);
  };

  converged = false;
  Residual residual{point.TargetNorthing - point.Northing, point.TargetEasting - point.Easting};
  int runs_left = kNewtonForwardRuns;
  while (!(std::fabs(residual.northing) <= kNewtonTolerance &&
           std::fabs(residual.easting) <= kNewtonTolerance)) {
    if (runs_left < 3 || !std::isfinite(residual.Size())) return fp::Fault::NoFault;

    // The image's change over one kJacobianStep of latitude and of longitude.
    Residual north_of, east_of;
    if (const fp::Fault fault = residual_at(la + kJacobianStep, lo, north_of);
        fault != fp::Fault::NoFault) {
      return fault;
    }
    if (const fp::Fault fault = residual_at(la, lo + kJacobianStep, east_of);
        fault != fp::Fault::NoFault) {
      return fault;
    }
    runs_left -= 2;
    const double dn_dla = residual.northing - north_of.northing;
    const double de_dla = residual.easting - north_of.easting;
    const double dn_dlo = residual.northing - east_of.northing;
    const double de_dlo = residual.easting - east_of.easting;
    const double det = dn_dla * de_dlo - dn_dlo * de_dla;
    if (!(std::fabs(det) >
          kSingularDeterminantRatio * (std::fabs(dn_dla * de_dlo) + std::fabs(dn_dlo * de_dla)))) {
      return fp::Fault::NoFault;
    }

    // The correction by Cramer's rule, in degrees, shortened where it is long.
    double step_la = (de_dlo * residual.northing - dn_dlo * residual.easting) / det * kJacobianStep;
    double step_lo = (dn_dla * residual.easting - de_dla * residual.northing) / det * kJacobianStep;
    const double longest = std::fmax(std::fabs(step_la), std::fabs(step_lo));
    if (longest > kLargestNewtonStep) {
      step_la *= kLargestNewtonStep / longest;
      step_lo *= kLargestNewtonStep / longest;
    }
    if (const fp::Fault fault = fp::CheckStep(checking, step_la, step_lo);
        fault != fp::Fault::NoFault) {
      return fault;
    }

    for (;;) {
      Residual next;
      if (const fp::Fault fault = residual_at(la + step_la, lo + step_lo, next);
          fault != fp::Fault::NoFault) {
        return fault;
      }
      --runs_left;
      if (next.Size() < residual.Size()) {
        la += step_la;
        lo += step_lo;
        residual = next;
        break;
      }
      if (runs_left == 0) return fp::Fault::NoFault;
      step_la *= 0.5;
      step_lo *= 0.5;
    }
  }
  converged = true;
  return fp::Fault::NoFault;
}

// The sines and cosines of the start point, formed once: the first run's
// shift starts at it or, after corr.N and corr.E, near it.
const CarriedTrig& StartPointTrig() {
  static const CarriedTrig trig =
      engine_internal::TrigNear(geodesy::inversion::kStartLatitude * geodesy::kRadiansPerDegree,
                                geodesy::inversion::kStartLongitude * geodesy::kRadiansPerDegree,
                                nullptr);
  return trig;
}

// GridToGeographic: the fixed-gain corrections from the start point, then
// Newton's method where they leave a residual above kFixedStepsTolerance.
// `converged` tells whether the estimate is the inverse.
template <class Shift>
[[gnu::flatten]] fp::Fault Invert(const Shift& shift, const PreparedTransverseMercator& projection,
                                  TWorkingPoint& point, fp::Checking checking, bool& converged) {
  using namespace geodesy::inversion;

  // The forward image of the start point is the first residual base.
  double la = kStartLatitude;
  double lo = kStartLongitude;
  point.Latitude = la;
  point.Longitude = lo;
  CarriedTrig carried = StartPointTrig();
  if (const fp::Fault fault = Forward(shift, projection, point, carried);
      fault != fp::Fault::NoFault) {
    return fault;
  }
  double N = point.Northing;
  double E = point.Easting;

  // Ten corrections, both from the same residual base.
  for (int iteration = 0; iteration < kIterations; ++iteration) {
    const double dla = (point.TargetNorthing - N) * kLatitudeGain;
    const double dlo = (point.TargetEasting - E) * kLongitudeGain;
    const double next_la = la + dla;
    const double next_lo = lo + dlo;
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

  converged = true;
  if (!(std::fabs(point.TargetNorthing - N) <= kFixedStepsTolerance &&
        std::fabs(point.TargetEasting - E) <= kFixedStepsTolerance)) {
    if (const fp::Fault fault =
            RefineByNewton(shift, projection, point, carried, checking, la, lo, converged);
        fault != fp::Fault::NoFault) {
      return fault;
    }
  }

  // The WGS84 estimate replaces the local-datum image that the last shift
  // left in the point.
  point.Latitude = la;
  point.Longitude = lo;
  return fp::Fault::NoFault;
}

// The fixed-gain corrections of Invert for two points side by side: for each
// point the same operations in the same order, interleaved so that the
// processor overlaps the two serial chains of forward runs. Faults are left
// to the caller's test at the end. Sets `refine` for a point whose residual
// is above kFixedStepsTolerance (it needs Newton's method: the caller inverts
// it alone).
template <class Shift>
[[gnu::flatten]] void InvertPair(const Shift& shift, const PreparedTransverseMercator& projection,
                                 TWorkingPoint& a, TWorkingPoint& b, bool& refine) {
  using namespace geodesy::inversion;
  double la_a = kStartLatitude, lo_a = kStartLongitude;
  double la_b = kStartLatitude, lo_b = kStartLongitude;
  a.Latitude = b.Latitude = kStartLatitude;
  a.Longitude = b.Longitude = kStartLongitude;
  CarriedTrig carried_a = StartPointTrig();
  CarriedTrig carried_b = carried_a;
  (void)Forward(shift, projection, a, carried_a);
  (void)Forward(shift, projection, b, carried_b);
  for (int iteration = 0; iteration < kIterations; ++iteration) {
    la_a += (a.TargetNorthing - a.Northing) * kLatitudeGain;
    lo_a += (a.TargetEasting - a.Easting) * kLongitudeGain;
    la_b += (b.TargetNorthing - b.Northing) * kLatitudeGain;
    lo_b += (b.TargetEasting - b.Easting) * kLongitudeGain;
    a.Latitude = la_a;
    a.Longitude = lo_a;
    b.Latitude = la_b;
    b.Longitude = lo_b;
    (void)Forward(shift, projection, a, carried_a);
    (void)Forward(shift, projection, b, carried_b);
  }
  refine = !(std::fabs(a.TargetNorthing - a.Northing) <= kFixedStepsTolerance &&
             std::fabs(a.TargetEasting - a.Easting) <= kFixedStepsTolerance &&
             std::fabs(b.TargetNorthing - b.Northing) <= kFixedStepsTolerance &&
             std::fabs(b.TargetEasting - b.Easting) <= kFixedStepsTolerance);
  a.Latitude = la_a;
  a.Longitude = lo_a;
  b.Latitude = la_b;
  b.Longitude = lo_b;
}

// Runs `run(shift, projection, point, checking)` under fp::RunWithFaultCheck
// over the four fields a chain writes, with the projection and the shift of
// `method` set up once per run.
template <class Run>
Status RunChain(const TParameterSet& set, TShiftMethod method, TWorkingPoint& point,
                const Run& run) {
  return fp::RunWithFaultCheck<&TWorkingPoint::Latitude, &TWorkingPoint::Longitude,
                               &TWorkingPoint::Northing, &TWorkingPoint::Easting>(
      point, [&](TWorkingPoint& p, fp::Checking checking) {
        const PreparedTransverseMercator projection(set, checking);
        switch (method) {
          case TShiftMethod::ThreeParameter:
            return run(PreparedThreeParameterShift(set, checking), projection, p, checking);
          case TShiftMethod::SevenParameter:
            return run(PreparedSevenParameterShift(set, checking), projection, p, checking);
        }
        return fp::Fault::NoFault;
      });
}

}  // namespace

Status GeographicToGrid(const TParameterSet& set, TShiftMethod method, TWorkingPoint& point) {
  return RunChain(set, method, point,
                  [](const auto& shift, const auto& projection, TWorkingPoint& p, fp::Checking) {
                    CarriedTrig carried;
                    return Forward(shift, projection, p, carried);
                  });
}

// A floating-point fault comes first: the run that ends in one may well not
// converge too.
Status GridToGeographic(const TParameterSet& set, TShiftMethod method, TWorkingPoint& point) {
  bool converged = true;
  const Status status = RunChain(
      set, method, point,
      [&converged](const auto& shift, const auto& projection, TWorkingPoint& p,
                   fp::Checking checking) {
        return Invert(shift, projection, p, checking, converged);
      });
  if (status.ok() && !converged) return Error::InversionDidNotConverge();
  return status;
}

// Both points side by side while they take the fixed steps alone and raise
// no fault (nearly always); otherwise each is converted alone from its
// input, so every result and Status is GridToGeographic's.
void GridToGeographicPair(const TParameterSet& set, TShiftMethod method, TWorkingPoint& a,
                          Status& status_a, TWorkingPoint& b, Status& status_b) {
  fp::DiscardStaleFaults();
  const TWorkingPoint input_a = a, input_b = b;
  bool refine = true;
  {
    const PreparedTransverseMercator projection(set, fp::Checking::AtEnd);
    switch (method) {
      case TShiftMethod::ThreeParameter:
        InvertPair(PreparedThreeParameterShift(set, fp::Checking::AtEnd), projection, a, b, refine);
        break;
      case TShiftMethod::SevenParameter:
        InvertPair(PreparedSevenParameterShift(set, fp::Checking::AtEnd), projection, a, b, refine);
        break;
    }
  }
  const fp::Fault fault = fp::TakeFault(a.Latitude, a.Longitude, a.Northing, a.Easting, b.Latitude,
                                        b.Longitude, b.Northing, b.Easting);
  if (fault == fp::Fault::NoFault && !refine) {
    status_a = Status();
    status_b = Status();
    return;
  }
  a = input_a;
  b = input_b;
  status_a = GridToGeographic(set, method, a);
  status_b = GridToGeographic(set, method, b);
}

}  // namespace tervela
