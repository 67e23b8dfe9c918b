// Speed of the two conversion chains, per point, for both shift methods, over
// points spread across 40..50 N, 9..21 E. Targets (Release, no sanitizer):
// GeographicToGrid at most 100 ns (three parameters) and 110 ns (seven);
// GridToGeographic, per point as the point-file runs convert them (batched),
// at most 500 ns and 900 ns.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/lane_paths.h"
#include "engine/engine.h"

namespace tervela {
namespace {

using engine_internal::LaneChain;
using engine_internal::LanePath;
using engine_internal::WidestLanePath;

// The system of the worked examples, with both shifts filled in.
TGridSystem WorkedSystem() {
  constexpr double kArcSecond = 1 / 648000.0 * 3.14159265358979323846;
  return {TEllipsoid(739.845, 0.10037483 / 10000), TTransverseMercator(0.9999, 500000, 0, 15),
          TMolodenskyShift({100, -50, 80}, 0, 0),
          THelmertShift({100, -50, 80}, {1 * kArcSecond, -2 * kArcSecond, 3 * kArcSecond}, 5e-6)};
}

// WGS84 points spread over 40..50 N, 9..21 E.
std::vector<TWorkingPoint> GeographicPoints() {
  std::vector<TWorkingPoint> points;
  for (int i = 0; i < 16; ++i) {
    for (int j = 0; j < 16; ++j) {
      TWorkingPoint point;
      point.Latitude = 40.0 + 10.0 * i / 15;
      point.Longitude = 9.0 + 12.0 * j / 15;
      points.push_back(point);
    }
  }
  return points;
}

// The same points as grid targets of the worked system.
std::vector<TWorkingPoint> GridPoints(TShiftMethod method) {
  const TGridSystem system = WorkedSystem();
  std::vector<TWorkingPoint> points = GeographicPoints();
  for (TWorkingPoint& point : points) {
    if (!GeographicToGrid(system, method, point).ok()) std::abort();
    point.TargetNorthing = point.Northing;
    point.TargetEasting = point.Easting;
  }
  return points;
}

void BM_GeographicToGrid(benchmark::State& state, TShiftMethod method) {
  const TGridSystem system = WorkedSystem();
  const std::vector<TWorkingPoint> inputs = GeographicPoints();
  std::size_t i = 0;
  for (auto _ : state) {
    TWorkingPoint point = inputs[i];
    i = (i + 1) % inputs.size();
    Status status = GeographicToGrid(system, method, point);
    benchmark::DoNotOptimize(status);
    benchmark::DoNotOptimize(point);
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_GridToGeographic(benchmark::State& state, TShiftMethod method) {
  const TGridSystem system = WorkedSystem();
  const std::vector<TWorkingPoint> inputs = GridPoints(method);
  std::size_t i = 0;
  for (auto _ : state) {
    TWorkingPoint point = inputs[i];
    i = (i + 1) % inputs.size();
    Status status = GridToGeographic(system, method, point);
    benchmark::DoNotOptimize(status);
    benchmark::DoNotOptimize(point);
  }
  state.SetItemsProcessed(state.iterations());
}

// Eight points per call, as the point-file runs convert them, timed per
// point, on the plain lanes and on the widest the processor has.
void BM_Batch(benchmark::State& state, LaneChain chain, TShiftMethod method, LanePath path) {
  constexpr std::size_t kPointsAtOnce = 8;
  const TGridSystem system = WorkedSystem();
  const std::vector<TWorkingPoint> inputs =
      chain == LaneChain::Forward ? GeographicPoints() : GridPoints(method);
  std::size_t i = 0;
  for (auto _ : state) {
    TWorkingPoint points[kPointsAtOnce];
    Status statuses[kPointsAtOnce];
    std::copy_n(inputs.begin() + i, kPointsAtOnce, points);
    i = (i + kPointsAtOnce) % inputs.size();
    engine_internal::RunInGroups(path, chain, system, method, points, statuses);
    benchmark::DoNotOptimize(statuses);
    benchmark::DoNotOptimize(points);
  }
  state.SetItemsProcessed(kPointsAtOnce * state.iterations());
  // The time per point, the figure the targets above are set in.
  state.counters["per_point"] = benchmark::Counter(
      kPointsAtOnce, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

BENCHMARK_CAPTURE(BM_GeographicToGrid, ThreeParameter, TShiftMethod::ThreeParameter);
BENCHMARK_CAPTURE(BM_GeographicToGrid, SevenParameter, TShiftMethod::SevenParameter);
BENCHMARK_CAPTURE(BM_GridToGeographic, ThreeParameter, TShiftMethod::ThreeParameter);
BENCHMARK_CAPTURE(BM_GridToGeographic, SevenParameter, TShiftMethod::SevenParameter);

// BM_Batch for each chain, method and lane path, named
// "BM_Batch/<function>/<method>/<Plain or Widest>".
const bool kBatchesRegistered = [] {
  for (LaneChain chain : {LaneChain::Forward, LaneChain::Inverse}) {
    for (TShiftMethod method : {TShiftMethod::ThreeParameter, TShiftMethod::SevenParameter}) {
      for (bool widest : {false, true}) {
        const std::string name =
            std::string("BM_Batch/") +
            (chain == LaneChain::Forward ? "GeographicToGridBatch/" : "GridToGeographicBatch/") +
            (method == TShiftMethod::ThreeParameter ? "ThreeParameter/" : "SevenParameter/") +
            (widest ? "Widest" : "Plain");
        benchmark::RegisterBenchmark(name.c_str(), BM_Batch, chain, method,
                                     widest ? WidestLanePath() : LanePath::Plain);
      }
    }
  }
  return true;
}();

}  // namespace
}  // namespace tervela
