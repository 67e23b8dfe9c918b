// The engine's sine, cosine and arc tangents (trig.h).
// Method: Tang's table-driven reduction (P. T. P. Tang, "Table-lookup
// algorithms for elementary functions and their error analysis", 1991) with
// the table's values and the leading products carried as sums of two doubles
// (T. J. Dekker, "A floating-point technique for extending the available
// precision", 1971). Only IEEE 754 additions, multiplications and divisions
// are used, none contracted (CMakeLists.txt), so every system gives the same
// bits.

#include "engine/trig.h"

#include <cmath>
#include <utility>

#include "engine/trig_tables.h"

namespace tervela::engine_internal {

namespace {

using trig_tables::kArcTangent;
using trig_tables::kArcTangentSteps;
using trig_tables::kSineCosine;
using trig_tables::kStepsPerQuadrant;
using trig_tables::TwoDoubles;

// a + b exactly, as the rounded sum and its error (Knuth's two-sum).
TwoDoubles TwoSum(double a, double b) {
  const double sum = a + b;
  const double b_part = sum - a;
  return {sum, (a - (sum - b_part)) + (b - b_part)};
}

// The same where |a| >= |b| (Dekker's fast two-sum).
TwoDoubles FastTwoSum(double a, double b) {
  const double sum = a + b;
  return {sum, b - (sum - a)};
}

// a as two halves of at most 26 bits each (Veltkamp's split); |a| below 2^995.
TwoDoubles Split(double a) {
  const double scaled = 134217729.0 * a;  // (2^27 + 1) a
  const double hi = scaled - (scaled - a);
  return {hi, a - hi};
}

// a b exactly, as the rounded product and its error (Dekker's product).
TwoDoubles TwoProduct(double a, double b) {
  const double product = a * b;
  const TwoDoubles as = Split(a);
  const TwoDoubles bs = Split(b);
  return {product,
          ((as.hi * bs.hi - product) + as.hi * bs.lo + as.lo * bs.hi) + as.lo * bs.lo};
}

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

// pi/2 and pi as two doubles.
constexpr TwoDoubles kHalfPi{0x1.921fb54442d18p+0, 0x1.1a62633145c07p-54};
constexpr TwoDoubles kPi{0x1.921fb54442d18p+1, 0x1.1a62633145c07p-53};

// minuend - subtrahend for two-double values, about 2^-100 of the result
// where that is at least half the minuend.
TwoDoubles Difference(const TwoDoubles& minuend, const TwoDoubles& subtrahend) {
  const TwoDoubles hi = TwoSum(minuend.hi, -subtrahend.hi);
  return {hi.hi, hi.lo + (minuend.lo - subtrahend.lo)};
}

}  // namespace

void SinCos(double x, double& sin_x, double& cos_x) {
  if (x == 0) {  // keeps the sign of a zero
    sin_x = x;
    cos_x = 1;
    return;
  }
  if (!std::isfinite(x) || std::fabs(x) > kLargestReduced) {
    sin_x = std::sin(x);
    cos_x = std::cos(x);
    return;
  }
  // x = j pi/256 + r with |r| <= pi/512, r as r.hi + r.lo; x - j kStep1 is
  // exact (Sterbenz).
  const double j = (x * kStepsPerRadian + kRoundToInteger) - kRoundToInteger;
  const TwoDoubles first = TwoSum(x - j * kStep1, -(j * kStep2));
  const TwoDoubles second = TwoSum(first.hi, -(j * kStep3));
  const TwoDoubles r = TwoSum(second.hi, (first.lo + second.lo) - j * kStep4);

  // j pi/256 = q pi/2 + a with a from the table's first quadrant.
  const auto steps = static_cast<unsigned>(static_cast<long long>(j)) & (4 * kStepsPerQuadrant - 1);
  const unsigned quadrant = steps / kStepsPerQuadrant;
  const TwoDoubles& s = kSineCosine[steps % kStepsPerQuadrant].sin;
  const TwoDoubles& c = kSineCosine[steps % kStepsPerQuadrant].cos;

  // sin r - r and cos r - 1 by Taylor's series, to the term below 2^-70 of
  // the whole (|r| <= 2^-7.3); r.lo enters to first order.
  const double r2 = r.hi * r.hi;
  const double sin_tail = r.hi * r2 * (-1.0 / 6 + r2 * (1.0 / 120 - r2 * (1.0 / 5040))) + r.lo;
  const double cos_tail = r2 * (-0.5 + r2 * (1.0 / 24 - r2 * (1.0 / 720))) - r.hi * r.lo;

  // sin(a + r) = sin a + cos a r + [cos a (sin r - r) + sin a (cos r - 1)],
  // cos(a + r) = cos a - sin a r + [cos a (cos r - 1) - sin a (sin r - r)]:
  // the first two terms exactly, the bracket (below 2^-14 of the whole) in
  // plain double.
  const TwoDoubles cos_r = TwoProduct(c.hi, r.hi);
  const TwoDoubles sin_lead = TwoSum(s.hi, cos_r.hi);
  const double sin_a = sin_lead.hi + (sin_lead.lo + cos_r.lo + s.lo + c.lo * r.hi +
                                      c.hi * sin_tail + s.hi * cos_tail);
  const TwoDoubles sin_r = TwoProduct(s.hi, r.hi);
  const TwoDoubles cos_lead = TwoSum(c.hi, -sin_r.hi);
  const double cos_a = cos_lead.hi + (cos_lead.lo - sin_r.lo + c.lo - s.lo * r.hi +
                                      c.hi * cos_tail - s.hi * sin_tail);

  switch (quadrant) {
    case 0: sin_x = sin_a; cos_x = cos_a; break;
    case 1: sin_x = cos_a; cos_x = -sin_a; break;
    case 2: sin_x = -sin_a; cos_x = -cos_a; break;
    default: sin_x = -cos_a; cos_x = sin_a; break;
  }
}

double Sin(double x) {
  double sin_x, cos_x;
  SinCos(x, sin_x, cos_x);
  return sin_x;
}

double Atan(double x) { return Atan2(x, 1); }

double Atan2(double y, double x) {
  if (!std::isfinite(x) || !std::isfinite(y) || (x == 0 && y == 0)) return std::atan2(y, x);
  // The angle of (ax, ay) in the first octant; the others follow by symmetry.
  double ax = std::fabs(x);
  double ay = std::fabs(y);
  const bool above_diagonal = ay > ax;
  if (above_diagonal) std::swap(ax, ay);
  // Powers of two, exact: ax within 2^-500..2^500, so no product below overflows.
  if (ax > 0x1p500) {
    ax *= 0x1p-600;
    ay *= 0x1p-600;
  } else if (ax < 0x1p-500) {
    ax *= 0x1p600;
    ay *= 0x1p600;
  }

  // t = ay/ax in [0, 1] as t_hi + t_lo.
  const double t_hi = ay / ax;
  const TwoDoubles t_ax = TwoProduct(t_hi, ax);
  const double t_lo = ((ay - t_ax.hi) - t_ax.lo) / ax;

  // atan t = atan b + atan u with b = i/128 the nearest table point and
  // u = (t - b)/(1 + t b), |u| <= 2^-8, as u_hi + u_lo; t_hi - b is exact
  // (Sterbenz).
  const int i = static_cast<int>(t_hi * kArcTangentSteps + 0.5);
  const double b = static_cast<double>(i) / kArcTangentSteps;
  const TwoDoubles above = TwoSum(t_hi - b, t_lo);
  const TwoDoubles tb = TwoProduct(t_hi, b);
  const TwoDoubles below = FastTwoSum(1, tb.hi);
  const double below_lo = below.lo + tb.lo + t_lo * b;
  const double u_hi = above.hi / below.hi;
  const TwoDoubles u_below = TwoProduct(u_hi, below.hi);
  const double u_lo =
      (((above.hi - u_below.hi) - u_below.lo) + above.lo - u_hi * below_lo) / below.hi;

  // atan u - u by Taylor's series to the term below 2^-70 of u; u_lo enters
  // through the derivative 1/(1 + u^2).
  const double u2 = u_hi * u_hi;
  const double u_tail =
      u_hi * u2 * (-1.0 / 3 + u2 * (1.0 / 5 - u2 * (1.0 / 7 - u2 * (1.0 / 9)))) + u_lo * (1 - u2);
  const TwoDoubles& table = kArcTangent[i];
  const TwoDoubles lead = TwoSum(table.hi, u_hi);
  TwoDoubles angle{lead.hi, lead.lo + (table.lo + u_tail)};

  if (above_diagonal) angle = Difference(kHalfPi, angle);
  if (x < 0) angle = Difference(kPi, angle);
  return std::copysign(angle.hi + angle.lo, y);
}

}  // namespace tervela::engine_internal
