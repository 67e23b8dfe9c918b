#pragma once

// A local grid system as the engine converts with it: the local ellipsoid,
// the Transverse Mercator projection on it and the two datum shifts from
// WGS84 to its datum. Each class takes its parameters in the units its
// constructor names (metres, degrees, arc-seconds, radians, ratios), derives
// once what its formulas need from them alone, and is not changed after; the
// per-point operations (engine.h) only read it.
//
// No parameter value is refused. Values that make an ellipsoid impossible (a
// zero or negative axis or flattening) fail the conversions that use it with
// the floating-point fault its formulas raise, at the step of the formula
// that uses the bad value, as if each conversion derived it anew.

#include <array>

namespace tervela {

namespace fp {
enum class Fault : unsigned char;
}  // namespace fp

namespace engine_internal {
class PreparedThreeParameterShift;
class PreparedSevenParameterShift;
class PreparedTransverseMercator;
}  // namespace engine_internal

// The local ellipsoid, given as Molodensky's formula takes it: by how its
// semi-major axis and flattening differ from those of WGS84.
//
// Two published constants define it, and they are not derived from each
// other: WGS84's flattening 0.00335281066474, from which Molodensky's formula
// takes f = 0.00335281066474 - df and b = (1 - f) a, and the axis ratio
// 0.996647189328169 (6356752.3142 / 6378137), from which the projection and
// Bowring's formula take b = a (df + 0.996647189328169). The two b differ by
// 7.1e-12 a, some 45 um; each formula keeps its own, and each keeps the form
// it is written in where two forms of one quantity differ in the last bits
// (Bowring's e'^2 = a^2 / b^2 - 1, the projection's e'^2 = e^2 / (1 - e^2)).
class TEllipsoid {
 public:
  // `da` [m]: WGS84's semi-major axis, 6378137 m, minus the local one.
  // `df` [ratio]: WGS84's flattening minus the local one (the Settings page
  // shows it times 10000).
  TEllipsoid(double da, double df);
  // The ellipsoid of semi-major axis `a` [m] and flattening `f` [ratio].
  static TEllipsoid FromAxisAndFlattening(double a, double f);

  double da() const { return da_; }  // [m]
  double df() const { return df_; }  // [ratio]
  double a() const { return a_; }    // semi-major axis [m]: 6378137 - da
  double b() const { return b_; }    // semi-minor axis [m]: a (df + 0.996647189328169)
  double e2() const { return e2_; }  // first eccentricity squared: 1 - b^2 / a^2
  double n() const { return n_; }    // third flattening: (a - b) / (a + b)

  // The meridian arc G [m] from the equator to latitude `phi` [radians], by
  // Helmert's series in n (terms up to sin 6 phi).
  double MeridianArc(double phi) const;
  // The radius of curvature in the prime vertical nu [m] at latitude `phi`
  // [radians].
  double PrimeVerticalRadius(double phi) const;
  // The geocentric X, Y, Z [m] of the point at latitude `phi` and longitude
  // `lambda` [radians] on the ellipsoid's surface.
  std::array<double, 3> Geocentric(double phi, double lambda) const;

  // What each formula takes from the ellipsoid, and the fault that deriving
  // it raised, which each conversion using the formula reports
  // (floating_point_check.h).
  struct ProjectionTerms {
    double a, e2;
    double second_e2;  // e^2 / (1 - e^2)
    double n;          // the third flattening
    // Helmert's meridian arc G = alpha (phi + beta sin 2phi + gamma sin 4phi + delta sin 6phi).
    double alpha, beta, gamma, delta;
    fp::Fault fault;
  };
  struct BowringTerms {
    double a, b;
    double e2_a;         // e^2 a
    double second_e2_b;  // e'^2 b, with e'^2 = a^2 / b^2 - 1
    double a_over_b;
    fp::Fault fault;
  };
  struct MolodenskyTerms {
    double a;
    double e2;                    // of its own f
    double one_minus_e2_times_a;  // (1 - e^2) a
    double n_terms_factor;        // Da e^2 + df b
    double m_term_factor;         // df a/b (1 - e^2) a
    fp::Fault fault;
  };

 private:
  friend class engine_internal::PreparedThreeParameterShift;
  friend class engine_internal::PreparedSevenParameterShift;
  friend class engine_internal::PreparedTransverseMercator;

  double da_, df_;
  double a_, b_, e2_, n_;
  ProjectionTerms projection_;
  BowringTerms bowring_;
  MolodenskyTerms molodensky_;
};

// The Gauss-Krueger Transverse Mercator projection of a grid: its latitude of
// origin is the equator.
class TTransverseMercator {
 public:
  // `scale_factor` k0 [ratio] multiplies the whole result, meridian arc
  // included, before `false_easting` and `false_northing` [m] are added;
  // `central_meridian` [degrees east of Greenwich].
  TTransverseMercator(double scale_factor, double false_easting, double false_northing,
                      double central_meridian);

  double scale_factor() const { return scale_factor_; }          // [ratio]
  double false_easting() const { return false_easting_; }        // [m]
  double false_northing() const { return false_northing_; }      // [m]
  double central_meridian() const { return central_meridian_; }  // [degrees east]

 private:
  double scale_factor_, false_easting_, false_northing_, central_meridian_;
};

// The three-parameter shift: Molodensky's formula for a translation of the
// datum and a change of its ellipsoid, applied backwards (from WGS84 to the
// local datum) at the point moved by two small empirical corrections.
class TMolodenskyShift {
 public:
  // `translation` (dx, dy, dz) [m] from the local datum to WGS84 (the shift
  // subtracts what it gives); `corr_n`, `corr_e` [arc-seconds]: added to the
  // latitude and longitude before the shift.
  TMolodenskyShift(const std::array<double, 3>& translation, double corr_n, double corr_e);

  const std::array<double, 3>& translation() const { return translation_; }  // [m]
  double corr_n() const { return corr_n_; }                                    // [arc-seconds]
  double corr_e() const { return corr_e_; }                                    // [arc-seconds]

 private:
  friend class engine_internal::PreparedThreeParameterShift;

  std::array<double, 3> translation_;
  double corr_n_, corr_e_;
  double corr_n_degrees_, corr_e_degrees_;  // corr.N / 3600, corr.E / 3600
};

// The seven-parameter shift: the similarity transformation (Helmert) of
// geocentric coordinates X' = T + (1 + K) R X, with the exact rotation
// R = R3(Rz) R2(Ry) R1(Rx) of the coordinate frame convention (no small-angle
// approximation).
class THelmertShift {
 public:
  using Matrix = std::array<std::array<double, 3>, 3>;

  // `translation` T [m]; `rotation` (Rx, Ry, Rz) [radians]; `scale_difference`
  // K [ratio].
  THelmertShift(const std::array<double, 3>& translation, const std::array<double, 3>& rotation,
                double scale_difference);

  const std::array<double, 3>& translation() const { return translation_; }  // [m]
  const std::array<double, 3>& rotation() const { return rotation_; }        // [radians]
  double scale_difference() const { return scale_difference_; }              // [ratio]
  // R, row by row.
  const Matrix& rotation_matrix() const { return r_; }

  // The transformation that undoes this one: X = -R^T T / (1 + K) + R^T X' / (1 + K),
  // R being orthogonal, with the angles of R^T read back in the same
  // R3 R2 R1 order and the scale difference 1 / (1 + K) - 1.
  THelmertShift Inverse() const;

 private:
  friend class engine_internal::PreparedSevenParameterShift;

  std::array<double, 3> translation_;
  std::array<double, 3> rotation_;
  double scale_difference_;
  double one_plus_k_;
  Matrix r_;
  fp::Fault fault_;
};

// A local grid system. A record holds both datum shifts, and both are read
// and written with it whichever a conversion uses: the method (the Conversion
// page's check box, tervela-convert's --seven) is a choice of each
// conversion, passed with the system to the engine's operations, so one
// system serves both methods, and a calibration, a save or the Settings page
// keeps the shift it does not use.
struct TGridSystem {
  TEllipsoid ellipsoid;
  TTransverseMercator projection;
  TMolodenskyShift molodensky;  // the three-parameter shift
  THelmertShift helmert;        // the seven-parameter shift
};

}  // namespace tervela
