// The engine's sine, cosine and arc tangents (trig.h).
// Method: Tang's table-driven reduction (P. T. P. Tang, "Table-lookup
// algorithms for elementary functions and their error analysis", 1991) with
// the table's values and the leading products carried as sums of two doubles
// (T. J. Dekker, "A floating-point technique for extending the available
// precision", 1971). Only IEEE 754 additions, multiplications and divisions
// are used, none contracted (CMakeLists.txt), so every system gives the same
// bits. The formulas are written once for double and for Lanes: where a lane
// needs another branch, both are computed and each lane takes its own.

#include "engine/trig.h"

#include <bit>
#include <cmath>
#include <cstdint>

#include "engine/trig_tables.h"

namespace tervela::engine_internal {

namespace {

using trig_tables::kArcTangent;
using trig_tables::kArcTangentSteps;
using trig_tables::kSineCosine;
using trig_tables::kStepsPerQuadrant;

// A value held as the sum of two.
template <class T>
struct Pair {
  T hi, lo;
};

// a + b exactly, as the rounded sum and its error (Knuth's two-sum).
template <class T>
Pair<T> TwoSum(const T& a, const T& b) {
  const T sum = a + b;
  const T b_part = sum - a;
  return {sum, (a - (sum - b_part)) + (b - b_part)};
}

// The same where |a| >= |b| (Dekker's fast two-sum).
template <class T>
Pair<T> FastTwoSum(const T& a, const T& b) {
  const T sum = a + b;
  return {sum, b - (sum - a)};
}

// a as two halves of at most 26 bits each (Veltkamp's split); |a| below 2^995.
template <class T>
Pair<T> Split(const T& a) {
  const T scaled = 134217729.0 * a;  // (2^27 + 1) a
  const T hi = scaled - (scaled - a);
  return {hi, a - hi};
}

// a b exactly, as the rounded product and its error (Dekker's product).
template <class T>
Pair<T> TwoProduct(const T& a, const T& b) {
  const T product = a * b;
  const Pair<T> as = Split(a);
  const Pair<T> bs = Split(b);
  return {product, ((as.hi * bs.hi - product) + as.hi * bs.lo + as.lo * bs.hi) + as.lo * bs.lo};
}

// minuend - subtrahend, about 2^-100 of the result where that is at least
// half the minuend.
template <class T>
Pair<T> Difference(const Pair<double>& minuend, const Pair<T>& subtrahend) {
  const Pair<T> hi = TwoSum(Broadcast<T>(minuend.hi), -subtrahend.hi);
  return {hi.hi, hi.lo + (minuend.lo - subtrahend.lo)};
}

// Lane by lane choices; for double, the one lane.
bool Both(bool a, bool b) { return a && b; }
LaneMask Both(const LaneMask& a, const LaneMask& b) { return a & b; }
bool Either(bool a, bool b) { return a || b; }
LaneMask Either(const LaneMask& a, const LaneMask& b) { return a | b; }
double Select(bool where, double then, double otherwise) { return where ? then : otherwise; }
Lanes Select(const LaneMask& where, const Lanes& then, const Lanes& otherwise) {
  return where ? then : otherwise;
}
template <class T, class Mask>
Pair<T> Select(const Mask& where, const Pair<T>& then, const Pair<T>& otherwise) {
  return {Select(where, then.hi, otherwise.hi), Select(where, then.lo, otherwise.lo)};
}
// Whether x is finite, read from its bits: no comparison of a NaN, which
// would raise the invalid-operation flag.
bool Finite(double x) { return std::isfinite(x); }
LaneMask Finite(const Lanes& x) {
  constexpr std::int64_t kExponent = 0x7ff0000000000000;
  return (std::bit_cast<LaneMask>(x) & kExponent) != kExponent;
}

template <class T>
constexpr int kLaneCountOf = sizeof(T) / sizeof(double);
double GetLane(double x, int) { return x; }
double GetLane(const Lanes& x, int i) { return x[i]; }
void SetLane(double& x, int, double value) { x = value; }
void SetLane(Lanes& x, int i, double value) { x[i] = value; }
bool LaneHolds(bool where, int) { return where; }
bool LaneHolds(const LaneMask& where, int i) { return where[i] != 0; }

// pi/256, the table's step, in four parts; the first three have at most 28
// bits, so their products with a step count below 2^24 are exact.
constexpr double kStep1 = 0x1.921fb54p-7;
constexpr double kStep2 = 0x1.10b4612p-37;
constexpr double kStep3 = -0x1.676733ap-67;
constexpr double kStep4 = -0x1.d1fc8f8cbb5bfp-96;
constexpr double kStepsPerRadian = 0x1.45f306dc9c883p+6;  // 256/pi
// The largest angle [rad] so reduced: 2^16 rad is 2^22.4 steps. The angles of
// a conversion stay within a few turns; larger ones go to the C library.
constexpr double kLargestReduced = 0x1p16;
// Added and taken away again, it rounds a double below 2^51 to an integer.
constexpr double kRoundToInteger = 0x1.8p52;

constexpr Pair<double> kHalfPi{0x1.921fb54442d18p+0, 0x1.1a62633145c07p-54};
constexpr Pair<double> kPi{0x1.921fb54442d18p+1, 0x1.1a62633145c07p-53};

}  // namespace

template <class T>
void SinCos(const T& angle, T& sin_x, T& cos_x) {
  // A lane the reduction cannot take (not finite, or beyond kLargestReduced)
  // works on 0 and takes the C library's values at the end.
  const auto finite = Finite(angle);
  const T finite_angle = Select(finite, angle, Broadcast<T>(0));
  const auto ordinary = Both(finite, Abs(finite_angle) <= kLargestReduced);
  const T x = Select(ordinary, finite_angle, Broadcast<T>(0));

  // x = j pi/256 + r with |r| <= pi/512, r as r.hi + r.lo; x - j kStep1 is
  // exact (Sterbenz).
  const T j = (x * kStepsPerRadian + kRoundToInteger) - kRoundToInteger;
  const Pair<T> first = TwoSum(x - j * kStep1, -(j * kStep2));
  const Pair<T> second = TwoSum(first.hi, -(j * kStep3));
  const Pair<T> r = TwoSum(second.hi, (first.lo + second.lo) - j * kStep4);

  // j pi/256 = q pi/2 + a with a from the table's first quadrant; sin and
  // cos of q pi/2 + a are those of a, swapped for odd q, with signs.
  T s_hi{}, s_lo{}, c_hi{}, c_lo{}, swap{}, sin_sign{}, cos_sign{};
  for (int i = 0; i < kLaneCountOf<T>; ++i) {
    const auto steps =
        static_cast<unsigned>(static_cast<long long>(GetLane(j, i))) & (4 * kStepsPerQuadrant - 1);
    const trig_tables::SineCosine& row = kSineCosine[steps % kStepsPerQuadrant];
    const unsigned quadrant = steps / kStepsPerQuadrant;
    SetLane(s_hi, i, row.sin.hi);
    SetLane(s_lo, i, row.sin.lo);
    SetLane(c_hi, i, row.cos.hi);
    SetLane(c_lo, i, row.cos.lo);
    SetLane(swap, i, quadrant % 2);
    SetLane(sin_sign, i, quadrant >= 2 ? -1 : 1);
    SetLane(cos_sign, i, quadrant == 1 || quadrant == 2 ? -1 : 1);
  }

  // sin r - r and cos r - 1 by Taylor's series, to the term below 2^-70 of
  // the whole (|r| <= 2^-7.3); r.lo enters to first order.
  const T r2 = r.hi * r.hi;
  const T sin_tail = r.hi * r2 * (-1.0 / 6 + r2 * (1.0 / 120 - r2 * (1.0 / 5040))) + r.lo;
  const T cos_tail = r2 * (-0.5 + r2 * (1.0 / 24 - r2 * (1.0 / 720))) - r.hi * r.lo;

  // sin(a + r) = sin a + cos a r + [cos a (sin r - r) + sin a (cos r - 1)],
  // cos(a + r) = cos a - sin a r + [cos a (cos r - 1) - sin a (sin r - r)]:
  // the first two terms exactly, the bracket (below 2^-14 of the whole) in
  // plain double.
  const Pair<T> cos_r = TwoProduct(c_hi, r.hi);
  const Pair<T> sin_lead = TwoSum(s_hi, cos_r.hi);
  const T sin_a = sin_lead.hi + (sin_lead.lo + cos_r.lo + s_lo + c_lo * r.hi + c_hi * sin_tail +
                                 s_hi * cos_tail);
  const Pair<T> sin_r = TwoProduct(s_hi, r.hi);
  const Pair<T> cos_lead = TwoSum(c_hi, -sin_r.hi);
  const T cos_a = cos_lead.hi + (cos_lead.lo - sin_r.lo + c_lo - s_lo * r.hi + c_hi * cos_tail -
                                 s_hi * sin_tail);

  const auto swapped = swap > 0.5;
  sin_x = Select(swapped, cos_a, sin_a) * sin_sign;
  cos_x = Select(swapped, sin_a, cos_a) * cos_sign;
  sin_x = Select(angle == 0, angle, sin_x);  // the sign of a zero
  if (AllLanes(ordinary)) return;
  for (int i = 0; i < kLaneCountOf<T>; ++i) {
    if (LaneHolds(ordinary, i)) continue;
    SetLane(sin_x, i, std::sin(GetLane(angle, i)));
    SetLane(cos_x, i, std::cos(GetLane(angle, i)));
  }
}

template <class T>
T Atan2(const T& y_in, const T& x_in) {
  // A lane with a coordinate not finite, or with both zero, works on (1, 0)
  // and takes the C library's value at the end. (!= is a quiet comparison:
  // a NaN raises no flag in it.)
  const auto ordinary =
      Both(Both(Finite(x_in), Finite(y_in)), Either(x_in != 0, y_in != 0));
  const T x = Select(ordinary, x_in, Broadcast<T>(1));
  const T y = Select(ordinary, y_in, Broadcast<T>(0));

  // The angle of (ax, ay) in the first octant; the others follow by symmetry.
  const auto above_diagonal = Abs(y) > Abs(x);
  const T larger = Select(above_diagonal, Abs(y), Abs(x));
  const T smaller = Select(above_diagonal, Abs(x), Abs(y));
  // A power of two, exact: ax within 2^-500..2^500, so no product below
  // overflows.
  const T scale = Select(larger > 0x1p500, Broadcast<T>(0x1p-600),
                         Select(larger < 0x1p-500, Broadcast<T>(0x1p600), Broadcast<T>(1)));
  const T ax = larger * scale;
  const T ay = smaller * scale;

  // atan(ay/ax) = atan b + atan u with b = i/128 the table point nearest
  // ay/ax and u = (ay - b ax)/(ax + b ay), |u| <= 2^-8, as u_hi + u_lo;
  // ay - b ax is exact to its last part (Sterbenz).
  const T b = ((ay / ax) * kArcTangentSteps + kRoundToInteger - kRoundToInteger) *
              (1.0 / kArcTangentSteps);
  const Pair<T> b_ax = TwoProduct(b, ax);
  const Pair<T> above = TwoSum(ay - b_ax.hi, -b_ax.lo);
  const Pair<T> b_ay = TwoProduct(b, ay);
  const Pair<T> below = FastTwoSum(ax, b_ay.hi);
  const T below_lo = below.lo + b_ay.lo;
  const T u_hi = above.hi / below.hi;
  const Pair<T> u_below = TwoProduct(u_hi, below.hi);
  const T u_lo = (((above.hi - u_below.hi) - u_below.lo) + above.lo - u_hi * below_lo) / below.hi;

  // atan u - u by Taylor's series to the term below 2^-70 of u; u_lo enters
  // through the derivative 1/(1 + u^2).
  const T u2 = u_hi * u_hi;
  const T u_tail =
      u_hi * u2 * (-1.0 / 3 + u2 * (1.0 / 5 - u2 * (1.0 / 7 - u2 * (1.0 / 9)))) + u_lo * (1 - u2);
  T table_hi{}, table_lo{};
  for (int i = 0; i < kLaneCountOf<T>; ++i) {
    const trig_tables::TwoDoubles& row =
        kArcTangent[static_cast<int>(GetLane(b, i) * kArcTangentSteps)];
    SetLane(table_hi, i, row.hi);
    SetLane(table_lo, i, row.lo);
  }
  const Pair<T> lead = TwoSum(table_hi, u_hi);
  Pair<T> angle{lead.hi, lead.lo + (table_lo + u_tail)};

  angle = Select(above_diagonal, Difference(kHalfPi, angle), angle);
  angle = Select(x < 0, Difference(kPi, angle), angle);
  T result = CopySign(angle.hi + angle.lo, y);
  if (AllLanes(ordinary)) return result;
  for (int i = 0; i < kLaneCountOf<T>; ++i) {
    if (!LaneHolds(ordinary, i)) SetLane(result, i, std::atan2(GetLane(y_in, i), GetLane(x_in, i)));
  }
  return result;
}

template void SinCos(const double&, double&, double&);
template void SinCos(const Lanes&, Lanes&, Lanes&);
template double Atan2(const double&, const double&);
template Lanes Atan2(const Lanes&, const Lanes&);

}  // namespace tervela::engine_internal
