#pragma once

// Several points carried through one formula side by side, one point per lane
// of a vector of doubles. Internal to the engine.
//
// The engine's per-point formulas are written once, as templates over their
// value type, and run either on double (one point) or on Lanes (kLaneCount
// points). Every operation on Lanes is the IEEE 754 operation of double applied
// lane by lane: + - * / and the square root are correctly rounded either way,
// the engine's own sines and arc tangents (trig.h) are written once for both,
// and no multiply-add is contracted (CMakeLists.txt). So each lane's value is,
// bit for bit, the value the same formula gives on double. The overloads below
// are that set of functions; the formulas call them unqualified.

#include <cmath>

namespace tervela::engine_internal {

inline constexpr int kLaneCount = 4;

// GCC's and Clang's vector extension: arithmetic, comparisons and mixing with
// a double (taken in every lane) work as written.
using Lanes = double __attribute__((vector_size(kLaneCount * sizeof(double))));

// A comparison of Lanes: all bits set in a lane where it holds.
using LaneMask = decltype(Lanes{} < Lanes{});

// A working point for kLaneCount points (working_point.h).
struct PointLanes {
  Lanes Longitude, Latitude, Easting, Northing, TargetEasting, TargetNorthing;
};

// The value type of a point's fields: double or Lanes.
template <class Point>
using ValueOf = decltype(Point::Latitude);

// `value` in every lane, or itself.
template <class T>
T Broadcast(double value) {
  T lanes{};
  if constexpr (sizeof(T) == sizeof(double)) {
    lanes = value;
  } else {
    for (int i = 0; i < kLaneCount; ++i) lanes[i] = value;
  }
  return lanes;
}

inline bool AllLanes(bool holds) { return holds; }
inline bool AllLanes(const LaneMask& holds) {
  for (int i = 0; i < kLaneCount; ++i) {
    if (!holds[i]) return false;
  }
  return true;
}

inline double Sqrt(double x) { return std::sqrt(x); }
inline double Abs(double x) { return std::fabs(x); }
inline double CopySign(double magnitude, double sign) { return std::copysign(magnitude, sign); }

inline Lanes Sqrt(const Lanes& x) {
  Lanes result;
  for (int i = 0; i < kLaneCount; ++i) result[i] = std::sqrt(x[i]);
  return result;
}
inline Lanes Abs(const Lanes& x) {
  Lanes result;
  for (int i = 0; i < kLaneCount; ++i) result[i] = std::fabs(x[i]);
  return result;
}
inline Lanes CopySign(const Lanes& magnitude, const Lanes& sign) {
  Lanes result;
  for (int i = 0; i < kLaneCount; ++i) result[i] = std::copysign(magnitude[i], sign[i]);
  return result;
}

}  // namespace tervela::engine_internal
