#pragma once

// Sines and cosines carried along a conversion chain. Internal to the engine.
//
// Within one forward run the projection's latitude is the shift's latitude
// moved by a few arc-seconds; from one run of GridToGeographic to the next the
// estimate moves by its correction, which after the first runs is small too.
// Where an angle x lies within 1e-3 rad (206") of an angle x0 whose sine and
// cosine are known, they follow from the angle-difference identities with
// d = x0 - x:
//   sin x = sin x0 cos d - cos x0 sin d,   cos x = cos x0 cos d + sin x0 sin d,
// where sin d = d - d^3/6 + d^5/120 and cos d = 1 - d^2/2 + d^4/24 are exact
// in double precision for |d| <= 1e-3. That is a few multiplications in place
// of a sincos, and gives its values to the last few bits.

#include <cmath>

#include "engine/lanes.h"
#include "engine/trig.h"

namespace tervela::engine_internal {

// An angle in radians with its sine and cosine, when known; T is double or
// Lanes (lanes.h).
template <class T = double>
struct AngleTrig {
  bool known = false;
  T angle{}, sin{}, cos{};
};

// The angle 0, whose sine and cosine are exact: angles within the near limit
// of it (the rotations of a datum shift, a few arc-seconds) need no sincos.
inline constexpr AngleTrig<> kZeroAngle{true, 0, 0, 1};

// The latitude and longitude that the shift of a chain's last run started
// from: the shift of the next run starts near them, and the projection of the
// same run has its latitude near the first. Where the shift forms the sine
// and cosine of the latitude it gives (the seven-parameter shift, from
// Bowring's tangent), they come along as `result_phi`, and the projection
// takes them as they are: its own latitude, the same value through degrees
// and back, differs from that angle by rounding only.
template <class T = double>
struct CarriedTrig {
  AngleTrig<T> phi;
  AngleTrig<T> lambda;
  AngleTrig<T> result_phi;
};

// How close [radians] a known angle must be for the identities above.
inline constexpr double kNearLimit = 1e-3;

// The sine and cosine of near.angle - d by the identities above.
template <class T>
void TrigFromNear(const AngleTrig<T>& near, const T& d, AngleTrig<T>& trig) {
  const T d2 = d * d;
  const T d3 = d2 * d;
  const T sin_d = d - d3 * ((1.0 / 6) - d2 * (1.0 / 120));
  const T cos_d = 1 - d2 * ((1.0 / 2) - d2 * (1.0 / 24));
  trig.sin = near.sin * cos_d - near.cos * sin_d;
  trig.cos = near.cos * cos_d + near.sin * sin_d;
}

// x with its sine and cosine, these from `near` when it is given, known and
// close enough.
inline AngleTrig<> TrigNear(double x, const AngleTrig<>* near) {
  AngleTrig<> trig{true, x, 0, 0};
  if (near != nullptr && near->known && std::fabs(near->angle - x) <= kNearLimit) {
    TrigFromNear(*near, near->angle - x, trig);
    return trig;
  }
  SinCos(x, trig.sin, trig.cos);
  return trig;
}

// The same for each lane: every lane gets what TrigNear gives its own x.
inline AngleTrig<Lanes> TrigNear(const Lanes& x, const AngleTrig<Lanes>* near) {
  AngleTrig<Lanes> trig{true, x, {}, {}};
  LaneMask close{};
  if (near != nullptr && near->known) {
    const Lanes d = near->angle - x;
    close = Abs(d) <= kNearLimit;
    TrigFromNear(*near, d, trig);
    if (AllLanes(close)) return trig;
  }
  Lanes sin_x, cos_x;
  SinCos(x, sin_x, cos_x);
  trig.sin = close ? trig.sin : sin_x;
  trig.cos = close ? trig.cos : cos_x;
  return trig;
}

// A latitude phi and a longitude lambda with their sines and cosines, each
// from its counterpart in `near` when that is given, known and close enough.
template <class T>
CarriedTrig<T> TrigNear(const T& phi, const T& lambda, const CarriedTrig<T>* near) {
  return {TrigNear(phi, near != nullptr ? &near->phi : nullptr),
          TrigNear(lambda, near != nullptr ? &near->lambda : nullptr), {}};
}

}  // namespace tervela::engine_internal
