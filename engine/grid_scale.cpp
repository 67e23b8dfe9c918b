// Grid convergence and point scale factor of the Transverse Mercator projection.
// Source: Krueger, Konforme Abbildung des Erdellipsoids in der Ebene (1912), for the series of transverse_mercator.cpp; Karney, Transverse Mercator with an accuracy of a few nanometers, J. Geodesy 85 (2011), for gamma and k as the argument and modulus of the mapping's derivative.
//
// The projection is conformal, so at each point its scale is the same in
// every direction and both quantities follow from the derivative along the
// parallel alone, whose length is nu cos phi dL on the ellipsoid:
//   k = |d(E, N)/dL| / (nu cos phi),   gamma = atan2(dN/dL, dE/dL).
// The derivative is taken of the very series the projection evaluates, term
// by term in L (G does not depend on L):
//   dE/dL = k0 nu [cos phi + cos^3 phi (1 - t^2 + eta^2) L^2/2
//           + cos^5 phi (5 - 18t^2 + t^4 + 14eta^2 - 58t^2 eta^2) L^4/24]
//   dN/dL = k0 nu [sin phi cos phi L + sin phi cos^3 phi (5 - t^2 + 9eta^2 + 4eta^4) L^3/6
//           + sin phi cos^5 phi (61 - 58t^2 + t^4 + 270eta^2 - 330t^2 eta^2) L^5/120]
// Rearranged: both divided by nu cos phi, which is positive at every latitude
// short of the poles and the same for both, so the atan2 keeps its quadrant
// and nothing is divided by cos phi:
//   P = 1 + cos^2 phi (1 - t^2 + eta^2) L^2/2 + cos^4 phi (5 - 18t^2 + ...) L^4/24
//   Q = sin phi [L + cos^2 phi (5 - t^2 + ...) L^3/6 + cos^4 phi (61 - 58t^2 + ...) L^5/120]
//   k = k0 sqrt(P^2 + Q^2),   gamma = atan2(Q, P).
// The series stops at the same powers as the projection's, so these are the
// exact gamma and k of the grid the engine computes. Against the exact
// mapping they are off by the series' first left-out terms, about
// cos^6 phi L^6 / 12: 2e-9 in k at 3 degrees from the central meridian.

#include <algorithm>
#include <cfenv>
#include <cmath>

#include "engine/geodetic_constants.h"
#include "engine/grid_scale.h"
#include "engine/lane_paths.h"
#include "engine/lanes.h"
#include "engine/prepared_operations.h"

namespace tervela {

namespace engine_internal {

template <class T>
fp::Fault PreparedTransverseMercator::ConvergenceAndScale(const T& latitude, const T& longitude,
                                                          T& convergence, T& scale) const {
  using namespace geodesy;
  // L and phi as the projection forms them.
  const T L = (longitude - projection_.central_meridian()) * kRadiansPerDegree;
  const T phi = latitude * kRadiansPerDegree;
  if (const fp::Fault fault = fp::CheckStep(checking_, L); fault != fp::Fault::NoFault) return fault;
  if (ellipsoid_.fault != fp::Fault::NoFault) return ellipsoid_.fault;

  const AngleTrig<T> phi_trig = TrigNear(phi, static_cast<const AngleTrig<T>*>(nullptr));
  const T sin_phi = phi_trig.sin, cos_phi = phi_trig.cos;
  const T t = sin_phi / cos_phi;
  const T cos2 = cos_phi * cos_phi;
  const T cos4 = cos2 * cos2;
  const T t2 = t * t;
  const T t4 = t2 * t2;
  const T eta2 = ellipsoid_.second_e2 * cos2;
  const T eta4 = eta2 * eta2;
  const T L2 = L * L;
  const T L3 = L2 * L;
  const T L4 = L2 * L2;
  const T L5 = L4 * L;

  const T P = 1 + cos2 * (1 - t2 + eta2) * L2 * (1.0 / 2) +
              cos4 * (5 - 18 * t2 + t4 + 14 * eta2 - 58 * t2 * eta2) * L4 * (1.0 / 24);
  const T Q = sin_phi * (L + cos2 * (5 - t2 + 9 * eta2 + 4 * eta4) * L3 * (1.0 / 6) +
                         cos4 * (61 - 58 * t2 + t4 + 270 * eta2 - 330 * t2 * eta2) * L5 *
                             (1.0 / 120));
  if (const fp::Fault fault = fp::CheckStep(checking_, P, Q); fault != fp::Fault::NoFault) {
    return fault;
  }
  const T k = projection_.scale_factor() * Sqrt(P * P + Q * Q);
  const T gamma = Atan2(Q, P) * kDegreesPerRadian;
  if (const fp::Fault fault = fp::CheckStep(checking_, gamma, k); fault != fp::Fault::NoFault) {
    return fault;
  }
  convergence = gamma;
  scale = k;
  return fp::Fault::NoFault;
}

template fp::Fault PreparedTransverseMercator::ConvergenceAndScale(const double&, const double&,
                                                                   double&, double&) const;
template fp::Fault PreparedTransverseMercator::ConvergenceAndScale(const Lanes&, const Lanes&,
                                                                   Lanes&, Lanes&) const;

namespace {

[[gnu::flatten]] void ScaleLanes(const PreparedTransverseMercator& projection, const Lanes& latitude,
                                 const Lanes& longitude, Lanes& convergence, Lanes& scale) {
  (void)projection.ConvergenceAndScale(latitude, longitude, convergence, scale);
}

#if defined(TERVELA_AVX2_LANES)
[[gnu::flatten, gnu::target("avx2")]] void ScaleLanesAvx2(const PreparedTransverseMercator& projection,
                                                          const Lanes& latitude,
                                                          const Lanes& longitude,
                                                          Lanes& convergence, Lanes& scale) {
  ScaleLanes(projection, latitude, longitude, convergence, scale);
}
#endif

}  // namespace

}  // namespace engine_internal

using engine_internal::kLaneCount;
using engine_internal::Lanes;
using engine_internal::PreparedTransverseMercator;

// Once with one flag test at the end, and step by step from the same input
// when that test found a fault (floating_point_check.h).
Status GridConvergenceAndScale(const TGridSystem& system, const TWorkingPoint& point,
                               TGridScale& scale) {
  TGridScale result;
  const auto run = [&](fp::Checking checking) {
    return PreparedTransverseMercator(system, checking)
        .ConvergenceAndScale(point.Latitude, point.Longitude, result.Convergence, result.ScaleFactor);
  };
  fp::DiscardStaleFaults();
  (void)run(fp::Checking::AtEnd);
  if (const fp::Fault fault = fp::TakeFault(result.Convergence, result.ScaleFactor);
      fault != fp::Fault::NoFault) {
    const fp::Fault first_fault = run(fp::Checking::EveryStep);
    return fp::ToStatus(first_fault != fp::Fault::NoFault ? first_fault : fault);
  }
  scale = result;
  return {};
}

// kLaneCount points side by side, the lanes past the end running copies of
// the last point; a group that raised a flag, or a lane whose result is not
// finite, is taken again point by point, so every result and Status is the
// one-point call's.
void GridConvergenceAndScaleBatch(const TGridSystem& system, std::span<const TWorkingPoint> points,
                                  std::span<TGridScale> scales, std::span<Status> statuses) {
  const engine_internal::LanePath path = engine_internal::WidestLanePath();
  for (std::size_t first = 0; first < points.size(); first += kLaneCount) {
    const std::size_t count = std::min<std::size_t>(kLaneCount, points.size() - first);
    Lanes latitude, longitude, convergence{}, scale{};
    for (int i = 0; i < kLaneCount; ++i) {
      const TWorkingPoint& point = points[first + std::min<std::size_t>(i, count - 1)];
      latitude[i] = point.Latitude;
      longitude[i] = point.Longitude;
    }
    fp::DiscardStaleFaults();
    const PreparedTransverseMercator projection(system, fp::Checking::AtEnd);
#if defined(TERVELA_AVX2_LANES)
    if (path == engine_internal::LanePath::Avx2) {
      engine_internal::ScaleLanesAvx2(projection, latitude, longitude, convergence, scale);
    } else {
      engine_internal::ScaleLanes(projection, latitude, longitude, convergence, scale);
    }
#else
    (void)path;
    engine_internal::ScaleLanes(projection, latitude, longitude, convergence, scale);
#endif
    for (std::size_t i = 0; i < count; ++i) {
      fp::Materialise(convergence[i]);
      fp::Materialise(scale[i]);
    }
    const int raised = fp::RaisedFaultFlags();
    if (raised != 0) std::feclearexcept(raised);
    for (std::size_t i = 0; i < count; ++i) {
      if (raised == 0 && std::isfinite(convergence[i]) && std::isfinite(scale[i])) {
        scales[first + i] = {convergence[i], scale[i]};
        statuses[first + i] = Status();
      } else {
        statuses[first + i] = GridConvergenceAndScale(system, points[first + i], scales[first + i]);
      }
    }
  }
}

}  // namespace tervela
