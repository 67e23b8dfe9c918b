// Speed of the two conversion chains, per point, for both shift methods, over
// points spread across 40..50 N, 9..21 E. Targets (Release, no sanitizer):
// GeographicToGrid with the three-parameter method at most 100 ns,
// GridToGeographic (eleven forward runs) at most 800 ns.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

#include "engine/engine.h"

namespace tervela {
namespace {

// The system of the worked examples, with both shifts filled in.
TParameterSet WorkedSystem() {
  TParameterSet set;
  set.Dx = 100;
  set.Dy = -50;
  set.Dz = 80;
  set.Da = 739.845;
  set.Df = 0.10037483;
  set.ScaleFactor = 0.9999;
  set.FalseEasting = 500000;
  set.FalseNorthing = 0;
  set.CentralMeridian = 15;
  set.Tx = 100;
  set.Ty = -50;
  set.Tz = 80;
  set.Rx = 1 / 648000.0 * 3.14159265358979323846;
  set.Ry = -2 / 648000.0 * 3.14159265358979323846;
  set.Rz = 3 / 648000.0 * 3.14159265358979323846;
  set.K = 5e-6;
  return set;
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
  const TParameterSet set = WorkedSystem();
  std::vector<TWorkingPoint> points = GeographicPoints();
  for (TWorkingPoint& point : points) {
    if (!GeographicToGrid(set, method, point).ok()) std::abort();
    point.TargetNorthing = point.Northing;
    point.TargetEasting = point.Easting;
  }
  return points;
}

void BM_GeographicToGrid(benchmark::State& state, TShiftMethod method) {
  const TParameterSet set = WorkedSystem();
  const std::vector<TWorkingPoint> inputs = GeographicPoints();
  std::size_t i = 0;
  for (auto _ : state) {
    TWorkingPoint point = inputs[i];
    i = (i + 1) % inputs.size();
    Status status = GeographicToGrid(set, method, point);
    benchmark::DoNotOptimize(status);
    benchmark::DoNotOptimize(point);
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_GridToGeographic(benchmark::State& state, TShiftMethod method) {
  const TParameterSet set = WorkedSystem();
  const std::vector<TWorkingPoint> inputs = GridPoints(method);
  std::size_t i = 0;
  for (auto _ : state) {
    TWorkingPoint point = inputs[i];
    i = (i + 1) % inputs.size();
    Status status = GridToGeographic(set, method, point);
    benchmark::DoNotOptimize(status);
    benchmark::DoNotOptimize(point);
  }
  state.SetItemsProcessed(state.iterations());
}

// Two points per call, timed per point: the pair the point-file runs use.
void BM_GridToGeographicPair(benchmark::State& state, TShiftMethod method) {
  const TParameterSet set = WorkedSystem();
  const std::vector<TWorkingPoint> inputs = GridPoints(method);
  std::size_t i = 0;
  for (auto _ : state) {
    TWorkingPoint a = inputs[i], b = inputs[i + 1];
    i = (i + 2) % (inputs.size() - 1);
    Status status_a, status_b;
    GridToGeographicPair(set, method, a, status_a, b, status_b);
    benchmark::DoNotOptimize(status_a);
    benchmark::DoNotOptimize(status_b);
    benchmark::DoNotOptimize(a);
    benchmark::DoNotOptimize(b);
  }
  state.SetItemsProcessed(2 * state.iterations());
}

BENCHMARK_CAPTURE(BM_GeographicToGrid, ThreeParameter, TShiftMethod::ThreeParameter);
BENCHMARK_CAPTURE(BM_GeographicToGrid, SevenParameter, TShiftMethod::SevenParameter);
BENCHMARK_CAPTURE(BM_GridToGeographic, ThreeParameter, TShiftMethod::ThreeParameter);
BENCHMARK_CAPTURE(BM_GridToGeographic, SevenParameter, TShiftMethod::SevenParameter);
BENCHMARK_CAPTURE(BM_GridToGeographicPair, ThreeParameter, TShiftMethod::ThreeParameter);
BENCHMARK_CAPTURE(BM_GridToGeographicPair, SevenParameter, TShiftMethod::SevenParameter);

}  // namespace
}  // namespace tervela
