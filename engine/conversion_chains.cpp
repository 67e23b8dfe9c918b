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
// reused by every run. The batch functions take kLaneCount points through
// the forward run or the fixed steps side by side (lanes.h), on the widest
// vectors the processor has, and each point that faults or needs Newton's
// method alone.

#include <algorithm>
#include <cfenv>
#include <cmath>

#include "engine/lane_paths.h"
#include "engine/engine.h"
#include "engine/floating_point_check.h"
#include "engine/geodetic_constants.h"
#include "engine/prepared_operations.h"

namespace tervela {

namespace {

using engine_internal::AngleTrig;
using engine_internal::CarriedTrig;
using engine_internal::LaneChain;
using engine_internal::Lanes;
using engine_internal::PointLanes;
using engine_internal::PreparedSevenParameterShift;
using engine_internal::PreparedThreeParameterShift;
using engine_internal::PreparedTransverseMercator;
using engine_internal::ValueOf;

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

// The sines and cosines of the start point, formed once: the first run's
// shift starts at it or, after corr.N and corr.E, near it.
const CarriedTrig<>& StartPointTrig() {
  using namespace geodesy;
  static const CarriedTrig<> trig = engine_internal::TrigNear<double>(
      inversion::kStartLatitude * kRadiansPerDegree,
      inversion::kStartLongitude * kRadiansPerDegree, nullptr);
  return trig;
}

// The same in every lane.
template <class T>
CarriedTrig<T> StartPointTrigOf() {
  const auto broadcast = [](const AngleTrig<>& trig) {
    using engine_internal::Broadcast;
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
  la = engine_internal::Broadcast<T>(kStartLatitude);
  lo = engine_internal::Broadcast<T>(kStartLongitude);
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
bool WithinFixedStepsTolerance(const TWorkingPoint& point) {
  using geodesy::inversion::kFixedStepsTolerance;
  return std::fabs(point.TargetNorthing - point.Northing) <= kFixedStepsTolerance &&
         std::fabs(point.TargetEasting - point.Easting) <= kFixedStepsTolerance;
}

// Whether a latitude lies beyond a pole: no point of the Earth has it. A NaN
// is left to the chains' own fault check.
bool BeyondPole(double latitude) { return std::fabs(latitude) > geodesy::kPoleLatitude; }

// GridToGeographic: the fixed-gain corrections from the start point, then
// Newton's method where they leave a residual above kFixedStepsTolerance.
// `converged` tells whether the estimate is the inverse.
template <class Shift>
[[gnu::flatten]] fp::Fault Invert(const Shift& shift, const PreparedTransverseMercator& projection,
                                  TWorkingPoint& point, fp::Checking checking, bool& converged) {
  double la, lo;
  CarriedTrig<> carried;
  if (const fp::Fault fault =
          TakeFixedSteps(shift, projection, point, checking, la, lo, carried);
      fault != fp::Fault::NoFault) {
    return fault;
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

// The chains for kLaneCount points side by side, faults left to the
// caller's test at the end: one forward run as GeographicToGrid, or the fixed
// steps of Invert with the estimates replacing the local-datum images.
template <class Shift>
[[gnu::flatten]] void RunLanes(LaneChain chain, const Shift& shift,
                               const PreparedTransverseMercator& projection, PointLanes& points) {
  CarriedTrig<Lanes> carried;
  if (chain == LaneChain::Forward) {
    (void)Forward(shift, projection, points, carried);
    return;
  }
  Lanes la, lo;
  (void)TakeFixedSteps(shift, projection, points, fp::Checking::AtEnd, la, lo, carried);
  points.Latitude = la;
  points.Longitude = lo;
}

#if defined(TERVELA_AVX2_LANES)
// RunLanes on AVX2 registers: the same operations on all four lanes at once,
// so the same values.
template <class Shift>
[[gnu::flatten, gnu::target("avx2")]] void RunLanesAvx2(
    LaneChain chain, const Shift& shift, const PreparedTransverseMercator& projection,
    PointLanes& points) {
  RunLanes(chain, shift, projection, points);
}
#endif

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

// A latitude beyond a pole is refused before the chain runs; longitudes are
// taken as they come (0 to 360 as well as -180 to 180).
Status GeographicToGrid(const TParameterSet& set, TShiftMethod method, TWorkingPoint& point) {
  if (BeyondPole(point.Latitude)) return Error::LatitudeOutOfRange();
  return RunChain(set, method, point,
                  [](const auto& shift, const auto& projection, TWorkingPoint& p, fp::Checking) {
                    CarriedTrig<> carried;
                    return Forward(shift, projection, p, carried);
                  });
}

// A floating-point fault comes first: the run that ends in one may well not
// converge too. A result beyond a pole fits the grid values but is no point of
// the Earth: the inversion found none.
Status GridToGeographic(const TParameterSet& set, TShiftMethod method, TWorkingPoint& point) {
  bool converged = true;
  const Status status = RunChain(
      set, method, point,
      [&converged](const auto& shift, const auto& projection, TWorkingPoint& p,
                   fp::Checking checking) {
        return Invert(shift, projection, p, checking, converged);
      });
  if (status.ok() && (!converged || BeyondPole(point.Latitude))) {
    return Error::InversionDidNotConverge();
  }
  return status;
}

namespace engine_internal {

LanePath WidestLanePath() {
#if defined(TERVELA_AVX2_LANES)
  // The processor is asked once; the first call may come from a static
  // initialiser, before the compiler's own detection has run.
  static const bool avx2 = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
  }();
  if (avx2) return LanePath::Avx2;
#endif
  return LanePath::Plain;
}

namespace {

// Whether a fault flag is raised once the results in `group` exist; clears
// the flags.
bool TakeGroupFault(std::span<const TWorkingPoint> group) {
  for (const TWorkingPoint& point : group) {
    fp::Materialise(point.Latitude);
    fp::Materialise(point.Longitude);
    fp::Materialise(point.Northing);
    fp::Materialise(point.Easting);
  }
  const int raised = fp::RaisedFaultFlags();
  if (raised != 0) std::feclearexcept(raised);
  return raised != 0;
}

// `chain` for up to kLaneCount points side by side, the lanes past the
// group's end running copies of its last point. Returns whether a flag was
// raised.
template <class Shift>
bool RunGroup(LanePath path, LaneChain chain, const Shift& shift,
              const PreparedTransverseMercator& projection, std::span<TWorkingPoint> group) {
  PointLanes lanes;
  for (int i = 0; i < kLaneCount; ++i) {
    const TWorkingPoint& point = group[std::min<std::size_t>(i, group.size() - 1)];
    lanes.Latitude[i] = point.Latitude;
    lanes.Longitude[i] = point.Longitude;
    lanes.TargetNorthing[i] = point.TargetNorthing;
    lanes.TargetEasting[i] = point.TargetEasting;
  }
#if defined(TERVELA_AVX2_LANES)
  if (path == LanePath::Avx2) {
    RunLanesAvx2(chain, shift, projection, lanes);
  } else {
    RunLanes(chain, shift, projection, lanes);
  }
#else
  (void)path;
  RunLanes(chain, shift, projection, lanes);
#endif
  for (std::size_t i = 0; i < group.size(); ++i) {
    group[i].Latitude = lanes.Latitude[i];
    group[i].Longitude = lanes.Longitude[i];
    group[i].Northing = lanes.Northing[i];
    group[i].Easting = lanes.Easting[i];
  }
  return TakeGroupFault(group);
}

}  // namespace

// Each group of points side by side, set up afresh so that a fault of the
// set-up shows in the group's flags. A point of a group that raised a flag,
// with a result that is not finite, with a latitude beyond a pole (given, or
// found by the inversion) or, from the grid, not within the fixed steps'
// tolerance, is converted alone from its input, so every result and Status is
// that of the one-point chain.
void RunInGroups(LanePath path, LaneChain chain, const TParameterSet& set, TShiftMethod method,
                 std::span<TWorkingPoint> points, std::span<Status> statuses) {
  for (std::size_t first = 0; first < points.size(); first += kLaneCount) {
    const std::span<TWorkingPoint> group =
        points.subspan(first, std::min<std::size_t>(kLaneCount, points.size() - first));
    TWorkingPoint inputs[kLaneCount];
    std::copy(group.begin(), group.end(), inputs);
    fp::DiscardStaleFaults();
    const PreparedTransverseMercator projection(set, fp::Checking::AtEnd);
    const bool fault =
        method == TShiftMethod::SevenParameter
            ? RunGroup(path, chain, PreparedSevenParameterShift(set, fp::Checking::AtEnd),
                       projection, group)
            : RunGroup(path, chain, PreparedThreeParameterShift(set, fp::Checking::AtEnd),
                       projection, group);
    for (std::size_t i = 0; i < group.size(); ++i) {
      TWorkingPoint& point = group[i];
      Status& status = statuses[first + i];
      if (!fault && std::isfinite(point.Latitude) && std::isfinite(point.Longitude) &&
          std::isfinite(point.Northing) && std::isfinite(point.Easting) &&
          !BeyondPole(chain == LaneChain::Forward ? inputs[i].Latitude : point.Latitude) &&
          (chain == LaneChain::Forward || WithinFixedStepsTolerance(point))) {
        status = Status();
      } else {
        point = inputs[i];
        status = chain == LaneChain::Forward ? GeographicToGrid(set, method, point)
                                             : GridToGeographic(set, method, point);
      }
    }
  }
}

}  // namespace engine_internal

void GeographicToGridBatch(const TParameterSet& set, TShiftMethod method,
                           std::span<TWorkingPoint> points, std::span<Status> statuses) {
  engine_internal::RunInGroups(engine_internal::WidestLanePath(),
                               engine_internal::LaneChain::Forward, set, method, points, statuses);
}

void GridToGeographicBatch(const TParameterSet& set, TShiftMethod method,
                           std::span<TWorkingPoint> points, std::span<Status> statuses) {
  engine_internal::RunInGroups(engine_internal::WidestLanePath(),
                               engine_internal::LaneChain::Inverse, set, method, points, statuses);
}

}  // namespace tervela
