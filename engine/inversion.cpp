// The grid-to-geographic inversion.
// Source: Newton's method with a forward-difference Jacobian and step halving, Dennis and Schnabel, Numerical Methods for Unconstrained Optimization and Nonlinear Equations (1983).
//
// GridToGeographic has no analytic inverse to use: it runs the forward chain
// from 45 N, 13 E and corrects the estimate ten times with fixed gains, the
// latitude from the northing residual and the longitude from the easting
// residual, eleven forward runs in all. Those gains fit the area around the
// start point only; where the ten corrections leave a grid residual above 0.1
// mm, Newton's method on the forward chain takes the estimate on until the
// residual is at most 1e-6 m. Where it cannot (a grid far from the start
// point), Newton's method starts again from the target's footpoint, and only
// when that fails too does the inversion fail. The shift and the projection
// are set up once per attempt and reused by every run.

#include <cmath>

#include "engine/engine.h"
#include "engine/fixed_steps.h"
#include "engine/forward_run.h"
#include "engine/geodetic_constants.h"

namespace tervela {

namespace {

using engine_internal::BeyondPole;
using engine_internal::CarriedTrig;
using engine_internal::Forward;
using engine_internal::PreparedTransverseMercator;
using engine_internal::RunChain;
using engine_internal::TakeFixedSteps;
using engine_internal::WithinFixedStepsTolerance;

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
    CarriedTrig<>& carried, fp::Checking checking, double& la, double& lo, bool& converged) {
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

// Where an inversion starts: the fixed-gain corrections from 45 N, 13 E,
// or, for a target they cannot reach (a grid far from there, such as one on
// another continent, where they run astray or overflow and Newton's method
// has too few runs to come back from where they end), the target's footpoint.
enum class Start { FixedSteps, Footpoint };

// GridToGeographic from `kStart`, then Newton's method where the estimate
// leaves a residual above kFixedStepsTolerance. `converged` tells whether the
// estimate is the inverse.
template <Start kStart, class Shift>
[[gnu::flatten]] fp::Fault Invert(const Shift& shift, const PreparedTransverseMercator& projection,
                                  TWorkingPoint& point, fp::Checking checking, bool& converged) {
  double la, lo;
  CarriedTrig<> carried;
  if constexpr (kStart == Start::FixedSteps) {
    if (const fp::Fault fault =
            TakeFixedSteps(shift, projection, point, checking, la, lo, carried);
        fault != fp::Fault::NoFault) {
      return fault;
    }
  } else {
    projection.Footpoint(point.TargetNorthing, point.TargetEasting, la, lo);
    if (BeyondPole(la)) {
      converged = false;
      return fp::Fault::NoFault;
    }
    point.Latitude = la;
    point.Longitude = lo;
    if (const fp::Fault fault = Forward(shift, projection, point, carried);
        fault != fp::Fault::NoFault) {
      return fault;
    }
  }

  converged = true;
  if (!WithinFixedStepsTolerance(point)) {
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

// One inversion of `point` from `kStart`. A floating-point fault comes first:
// the run that ends in one may well not converge too. A result beyond a pole
// fits the grid values but is no point of the Earth, and a run the
// three-parameter shift refuses (near a pole) left the points the chain holds
// for: either way the inversion found none.
template <Start kStart>
Status InvertFrom(const TGridSystem& system, TShiftMethod method, TWorkingPoint& point) {
  bool converged = true;
  const Status status = RunChain(
      system, method, point,
      [&converged](const auto& shift, const auto& projection, TWorkingPoint& p,
                   fp::Checking checking) {
        return Invert<kStart>(shift, projection, p, checking, converged);
      });
  if (status.ok() ? !converged || BeyondPole(point.Latitude)
                  : status.error() == Error::TooNearPoleForShift()) {
    return Error::InversionDidNotConverge();
  }
  return status;
}

}  // namespace

// From the fixed steps first; where they fail, from the target's footpoint.
// Where that fails too, the first failure is reported, and the point left as
// the first attempt left it.
Status GridToGeographic(const TGridSystem& system, TShiftMethod method, TWorkingPoint& point) {
  const TWorkingPoint target = point;
  const Status status = InvertFrom<Start::FixedSteps>(system, method, point);
  if (status.ok()) return status;
  TWorkingPoint from_footpoint = target;
  if (!InvertFrom<Start::Footpoint>(system, method, from_footpoint).ok()) return status;
  point = from_footpoint;
  return {};
}

}  // namespace tervela
