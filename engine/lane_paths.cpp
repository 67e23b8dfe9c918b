// The batch chains on lanes, and the choice of lane path.
// Source: those of the one-point chains (conversion_chains.cpp, inversion.cpp); the lanes change no formula.
//
// kLaneCount points at a time through the forward run or the fixed steps of the
// inversion side by side (lanes.h), on the widest vectors the processor has,
// and each point that faults or needs Newton's method alone.

#include <algorithm>
#include <cfenv>
#include <cmath>

#include "engine/engine.h"
#include "engine/fixed_steps.h"
#include "engine/floating_point_check.h"
#include "engine/forward_run.h"
#include "engine/lane_paths.h"

namespace tervela {

namespace engine_internal {

namespace {

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

// Each group of points side by side. A point of a group that raised a flag,
// with a result that is not finite, with a latitude beyond a pole (given, or
// found by the inversion) or, from the grid, not within the fixed steps'
// tolerance, is converted alone from its input, so every result and Status is
// that of the one-point chain; so is every point of a system whose derived
// values faulted (grid_system.h), which the lanes do not report.
void RunInGroups(LanePath path, LaneChain chain, const TGridSystem& system, TShiftMethod method,
                 std::span<TWorkingPoint> points, std::span<Status> statuses) {
  const PreparedTransverseMercator projection(system, fp::Checking::AtEnd);
  const PreparedThreeParameterShift three_parameter(system, fp::Checking::AtEnd);
  const PreparedSevenParameterShift seven_parameter(system, fp::Checking::AtEnd);
  const fp::Fault set_up_fault = fp::OfOneStep(
      projection.set_up_fault(), method == TShiftMethod::SevenParameter
                                     ? seven_parameter.set_up_fault()
                                     : three_parameter.set_up_fault());
  for (std::size_t first = 0; first < points.size(); first += kLaneCount) {
    const std::span<TWorkingPoint> group =
        points.subspan(first, std::min<std::size_t>(kLaneCount, points.size() - first));
    TWorkingPoint inputs[kLaneCount];
    std::copy(group.begin(), group.end(), inputs);
    fp::DiscardStaleFaults();
    const bool fault =
        set_up_fault != fp::Fault::NoFault ||
        (method == TShiftMethod::SevenParameter
             ? RunGroup(path, chain, seven_parameter, projection, group)
             : RunGroup(path, chain, three_parameter, projection, group));
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
        status = chain == LaneChain::Forward ? GeographicToGrid(system, method, point)
                                             : GridToGeographic(system, method, point);
      }
    }
  }
}

}  // namespace engine_internal

void GeographicToGridBatch(const TGridSystem& system, TShiftMethod method,
                           std::span<TWorkingPoint> points, std::span<Status> statuses) {
  engine_internal::RunInGroups(engine_internal::WidestLanePath(),
                               engine_internal::LaneChain::Forward, system, method, points,
                               statuses);
}

void GridToGeographicBatch(const TGridSystem& system, TShiftMethod method,
                           std::span<TWorkingPoint> points, std::span<Status> statuses) {
  engine_internal::RunInGroups(engine_internal::WidestLanePath(),
                               engine_internal::LaneChain::Inverse, system, method, points,
                               statuses);
}

}  // namespace tervela
