// The parts of a local grid system, each with what its formulas need derived
// once from its parameters.
// Source: those of the operations that use them (three_parameter_shift.cpp,
// seven_parameter_shift.cpp, transverse_mercator.cpp).
//
// A derivation that faults does not fail here: its fault is kept, per
// formula, and each conversion that uses the formula reports it at the step
// that uses the values (prepared_operations.h). Each fault is taken from the
// flags its own values raised, as one step would take it.

#include "engine/grid_system.h"

#include <cmath>

#include "engine/carried_trig.h"
#include "engine/floating_point_check.h"
#include "engine/geodetic_constants.h"

namespace tervela {

using namespace geodesy;

TEllipsoid::TEllipsoid(double da, double df) : da_(da), df_(df) {
  fp::DiscardStaleFaults();
  a_ = kWgs84SemiMajorAxis - da;

  // Molodensky's: f = 0.00335281066474 - df, b = (1 - f) a and the first
  // eccentricity e = sqrt((2 - f) f). A df above 0.00335281066474 makes f
  // negative, and this square root an invalid operation.
  MolodenskyTerms& m = molodensky_;
  m.a = a_;
  const double f = kWgs84Flattening - df;
  const double molodensky_b = (1 - f) * a_;
  const double e = std::sqrt((2 - f) * f);
  m.e2 = e * e;
  // The parameter-only factors of its delta phi (three_parameter_shift.cpp).
  m.one_minus_e2_times_a = (1 - m.e2) * a_;
  m.n_terms_factor = da * m.e2 + df * molodensky_b;
  m.m_term_factor = df * (a_ / molodensky_b) * m.one_minus_e2_times_a;
  m.fault = fp::TakeFault(df, a_, f, molodensky_b, e, m.e2, m.one_minus_e2_times_a,
                          m.n_terms_factor, m.m_term_factor);

  // The projection's and Bowring's: b = a (df + 0.996647189328169) and
  // e^2 = 1 - b^2 / a^2.
  b_ = a_ * (df + kReferenceAxisRatio);
  const double a2 = a_ * a_;
  const double b2 = b_ * b_;
  e2_ = 1 - b2 / a2;
  const fp::Fault common_fault = fp::TakeFault(a_, b_, a2, b2, e2_);

  // The projection's: the third flattening, e'^2, and the coefficients of
  // Helmert's meridian-arc series.
  ProjectionTerms& p = projection_;
  p.a = a_;
  p.e2 = e2_;
  n_ = (a_ - b_) / (a_ + b_);
  p.n = n_;
  p.second_e2 = e2_ / (1 - e2_);
  using namespace meridian_arc;
  const double n2 = n_ * n_;
  const double n3 = n2 * n_;
  const double n4 = n2 * n2;
  const double n5 = n4 * n_;
  p.alpha = (a_ + b_) / 2 * (1 + kN2 * n2 + kN4 * n4);
  p.beta = kBetaN1 * n_ + kBetaN3 * n3 + kBetaN5 * n5;
  p.gamma = kGammaN2 * n2 + kGammaN4 * n4;
  p.delta = kDeltaN3 * n3 + kDeltaN5 * n5;
  p.fault = fp::OfOneStep(common_fault,
                          fp::TakeFault(n_, p.second_e2, p.alpha, p.beta, p.gamma, p.delta));

  // Bowring's: e'^2 = a^2 / b^2 - 1, and the products his formula takes.
  BowringTerms& g = bowring_;
  g.a = a_;
  g.b = b_;
  const double second_e2 = a2 / b2 - 1;
  g.e2_a = e2_ * a_;
  g.second_e2_b = second_e2 * b_;
  g.a_over_b = a_ / b_;
  g.fault = fp::OfOneStep(common_fault, fp::TakeFault(second_e2, g.e2_a, g.second_e2_b, g.a_over_b));
}

TEllipsoid TEllipsoid::FromAxisAndFlattening(double a, double f) {
  return TEllipsoid(kWgs84SemiMajorAxis - a, kWgs84Flattening - f);
}

TTransverseMercator::TTransverseMercator(double scale_factor, double false_easting,
                                         double false_northing, double central_meridian)
    : scale_factor_(scale_factor),
      false_easting_(false_easting),
      false_northing_(false_northing),
      central_meridian_(central_meridian) {}

TMolodenskyShift::TMolodenskyShift(const std::array<double, 3>& translation, double corr_n,
                                   double corr_e)
    : translation_(translation),
      corr_n_(corr_n),
      corr_e_(corr_e),
      corr_n_degrees_(corr_n / kArcSecondsPerDegree),
      corr_e_degrees_(corr_e / kArcSecondsPerDegree) {}

THelmertShift::THelmertShift(const std::array<double, 3>& translation,
                             const std::array<double, 3>& rotation, double scale_difference)
    : translation_(translation), rotation_(rotation), scale_difference_(scale_difference) {
  fp::DiscardStaleFaults();
  one_plus_k_ = 1 + scale_difference;
  fault_ = fp::TakeFault(one_plus_k_);

  // The sines and cosines of the rotations, exact: a few arc-seconds lie
  // within the near limit of 0 (carried_trig.h), larger angles take a sincos.
  using engine_internal::AngleTrig;
  using engine_internal::kZeroAngle;
  using engine_internal::TrigNear;
  const AngleTrig<> rx = TrigNear(rotation[0], &kZeroAngle);
  const AngleTrig<> ry = TrigNear(rotation[1], &kZeroAngle);
  const AngleTrig<> rz = TrigNear(rotation[2], &kZeroAngle);
  const double sx = rx.sin, cx = rx.cos, sy = ry.sin, cy = ry.cos, sz = rz.sin, cz = rz.cos;

  // R = R3(Rz) R2(Ry) R1(Rx), row by row.
  r_[0][0] = cy * cz;
  r_[0][1] = cx * sz + sx * sy * cz;
  r_[0][2] = sx * sz - cx * sy * cz;
  r_[1][0] = -cy * sz;
  r_[1][1] = cx * cz - sx * sy * sz;
  r_[1][2] = sx * cz + cx * sy * sz;
  r_[2][0] = sy;
  r_[2][1] = -sx * cy;
  r_[2][2] = cx * cy;
}

// EPSG's formula for the inverse (Guidance Note 7-2) uses the first-order
// form of R, which differs from the exact one by the squares of the angles;
// R^T is exact. Its angles in the order R3 R2 R1 follow from its third row,
// (sin ry, -sin rx cos ry, cos rx cos ry), and its first column, which holds
// cos ry cos rz and -cos ry sin rz.
THelmertShift THelmertShift::Inverse() const {
  Matrix inverse{};
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) inverse[i][j] = r_[j][i];
  }
  std::array<double, 3> translation{};
  for (int i = 0; i < 3; ++i) {
    double rotated = 0;
    for (int j = 0; j < 3; ++j) rotated += inverse[i][j] * translation_[j];
    translation[i] = -rotated / one_plus_k_;
  }
  // asin s as atan2(s, sqrt(1 - s^2)), with the engine's arc tangent (trig.h).
  using engine_internal::Atan2;
  const double sin_ry = inverse[2][0];
  const std::array<double, 3> rotation = {
      Atan2(-inverse[2][1], inverse[2][2]), Atan2(sin_ry, std::sqrt((1 - sin_ry) * (1 + sin_ry))),
      Atan2(-inverse[1][0], inverse[0][0])};
  return THelmertShift(translation, rotation, 1 / one_plus_k_ - 1);
}

}  // namespace tervela
