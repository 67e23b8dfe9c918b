#pragma once

// The sine, cosine and arc tangents of the engine's formulas. Internal to the
// engine.
//
// They are the engine's own rather than the C library's so that a conversion
// gives the same bits on every system and processor: the libraries differ in
// the last bit now and then (one rounds through the x87 unit, another picks a
// multiply-add variant by processor), and a printed coordinate whose last
// digit lies on a rounding half then differs. Each value is carried to about
// 2^-65 of itself before its one rounding, so it is the correctly rounded
// value but for rare arguments (none of 200,000 random ones for each, checked
// against 600-bit values). Arguments in radians;
// T is double or Lanes (lanes.h), and every lane gets what double gives.

#include "engine/lanes.h"

namespace tervela::engine_internal {

// sin x and cos x from one call.
template <class T>
void SinCos(const T& x, T& sin_x, T& cos_x);

// The angle of (x, y) from the x axis, in [-pi, pi], as std::atan2.
template <class T>
T Atan2(const T& y, const T& x);

template <class T>
T Atan(const T& x) {
  return Atan2(x, Broadcast<T>(1));
}

inline double Sin(double x) {
  double sin_x, cos_x;
  SinCos(x, sin_x, cos_x);
  return sin_x;
}

}  // namespace tervela::engine_internal
