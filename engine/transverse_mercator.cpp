// Transverse Mercator projection.
// Source: Helmert, Die mathematischen und physikalischen Theorieen der hoeheren Geodaesie I (1880); Krueger, Konforme Abbildung des Erdellipsoids in der Ebene (1912).
//
// The Gauss-Krueger form: the meridian arc G from the equator by Helmert's
// series in the third flattening n (terms up to sin 6 phi), plus the classic
// power series in the longitude difference L from the central meridian, to L^6
// for the northing and L^5 for the easting. The latitude of origin is the
// equator; the scale factor multiplies the whole result, meridian arc
// included, before the false origin is added. No zone, no hemisphere rule;
// the longitude difference is taken to (-180, 180] degrees, so that a
// longitude given from 0 to 360 lands where its equal from -180 to 180 does.

#include <cmath>

#include "engine/engine.h"
#include "engine/geodetic_constants.h"
#include "engine/prepared_operations.h"

namespace tervela {

using namespace geodesy;

namespace engine_internal {

namespace {

// The longitude difference `degrees` taken to (-180, 180] by whole turns,
// exactly (fmod is exact, and so is adding or taking 360 to or from a value
// between 180 and 360 in magnitude); a difference in that range already is
// left as it is, bit for bit.
double HalfTurnRange(double degrees) {
  if (std::isgreater(degrees, 180) || std::islessequal(degrees, -180)) {
    degrees = std::fmod(degrees, 360.0);
    if (degrees > 180) degrees -= 360;
    if (degrees <= -180) degrees += 360;
  }
  return degrees;
}

Lanes HalfTurnRange(const Lanes& degrees) {
  Lanes result;
  for (int i = 0; i < kLaneCount; ++i) result[i] = HalfTurnRange(degrees[i]);
  return result;
}

}  // namespace

// The projection's parameters, with the local ellipsoid and the
// meridian-arc coefficients derived with the system (grid_system.cpp).
PreparedTransverseMercator::PreparedTransverseMercator(const TGridSystem& system,
                                                       fp::Checking checking)
    : projection_(system.projection), ellipsoid_(system.ellipsoid.projection_), checking_(checking) {}

namespace {

// G = alpha (phi + beta sin 2phi + gamma sin 4phi + delta sin 6phi), the
// multiple angles formed from sin phi and cos phi by the double-angle and
// addition identities.
template <class T>
T MeridianArcFrom(const TEllipsoid::ProjectionTerms& e, const T& phi, const T& sin_phi,
                  const T& cos_phi) {
  const T sin_2phi = 2 * sin_phi * cos_phi;
  const T cos_2phi = (cos_phi - sin_phi) * (cos_phi + sin_phi);
  const T sin_4phi = 2 * sin_2phi * cos_2phi;
  const T cos_4phi = 1 - 2 * sin_2phi * sin_2phi;
  const T sin_6phi = sin_4phi * cos_2phi + cos_4phi * sin_2phi;
  return e.alpha * (phi + e.beta * sin_2phi + e.gamma * sin_4phi + e.delta * sin_6phi);
}

// nu = a / sqrt(1 - e^2 sin^2 phi).
template <class T>
T PrimeVerticalRadiusFrom(const TEllipsoid::ProjectionTerms& e, const T& sin_phi) {
  return e.a / Sqrt(1 - e.e2 * (sin_phi * sin_phi));
}

}  // namespace

// The footpoint latitude of the northing: the rectifying latitude
// mu = G / alpha turned into phi by the leading terms of the inverse of
// Helmert's series. The longitude follows from the easting's first term,
// easting = nu cos(phi) L. Both ignore the terms in L^2 and beyond, which is
// what makes this an estimate.
void PreparedTransverseMercator::Footpoint(double northing, double easting, double& latitude,
                                           double& longitude) const {
  using namespace meridian_arc;
  const double mu = (northing - projection_.false_northing()) / (projection_.scale_factor() * ellipsoid_.alpha);
  const double phi =
      mu + kFootpointN1 * ellipsoid_.n * Sin(2 * mu) +
                     kFootpointN2 * (ellipsoid_.n * ellipsoid_.n) * Sin(4 * mu);
  double sin_phi, cos_phi;
  SinCos(phi, sin_phi, cos_phi);
  const double L = (easting - projection_.false_easting()) /
                   (projection_.scale_factor() * PrimeVerticalRadiusFrom(ellipsoid_, sin_phi) * cos_phi);
  latitude = phi * kDegreesPerRadian;
  longitude = projection_.central_meridian() + L * kDegreesPerRadian;
}

// The projection of one point, or of one point per lane.
template <class Point>
fp::Fault PreparedTransverseMercator::Apply(Point& point,
                                            const CarriedTrig<ValueOf<Point>>* carried) const {
  using T = ValueOf<Point>;
  // L, the difference from the central meridian, and phi.
  const T L = HalfTurnRange(point.Longitude - projection_.central_meridian()) * kRadiansPerDegree;
  const T phi = point.Latitude * kRadiansPerDegree;
  if (const fp::Fault fault = fp::CheckStep(checking_, L); fault != fp::Fault::NoFault) return fault;

  // A fault of the parameter-only part ends the projection here.
  if (ellipsoid_.fault != fp::Fault::NoFault) return ellipsoid_.fault;

  // The sine and cosine of phi: those the shift formed for its result where
  // it did, else from the shift's start latitude nearby (carried_trig.h).
  const AngleTrig<T> phi_trig =
      carried != nullptr && carried->result_phi.known
          ? carried->result_phi
          : TrigNear(phi, carried != nullptr ? &carried->phi : nullptr);
  const T sin_phi = phi_trig.sin, cos_phi = phi_trig.cos;

  // The meridian arc.
  const T G = MeridianArcFrom(ellipsoid_, phi, sin_phi, cos_phi);

  // nu, t = tan phi, eta^2 = e'^2 cos^2 phi.
  const T nu = PrimeVerticalRadiusFrom(ellipsoid_, sin_phi);
  const T t = sin_phi / cos_phi;
  const T cos2 = cos_phi * cos_phi;  // powers of cos phi
  const T cos3 = cos2 * cos_phi;
  const T cos5 = cos3 * cos2;
  const T t2 = t * t;
  const T t4 = t2 * t2;
  const T eta2 = ellipsoid_.second_e2 * cos2;
  const T eta4 = eta2 * eta2;
  const T L2 = L * L;
  const T L3 = L2 * L;
  const T L4 = L2 * L2;
  const T L5 = L4 * L;
  const T L6 = L4 * L2;

  // The northing before scaling, its terms added in the written order;
  // nu, common to them, multiplies their sum (so that its square root and
  // division run alongside the series), and the divisions by 2, 24 and 720
  // are multiplications by their reciprocals.
  const T northing_series =
      sin_phi * cos_phi * L2 * (1.0 / 2) +
      sin_phi * cos3 * (5 - t2 + 9 * eta2 + 4 * eta4) * L4 * (1.0 / 24) +
      sin_phi * cos5 * (61 - 58 * t2 + t4 + 270 * eta2 - 330 * t2 * eta2) * L6 * (1.0 / 720);
  const T northing = nu * northing_series + G;

  // The easting before scaling, in the same way.
  const T easting_series =
      cos_phi * L + cos3 * (1 - t2 + eta2) * L3 * (1.0 / 6) +
      cos5 * (5 - 18 * t2 + t4 + 14 * eta2 - 58 * t2 * eta2) * L5 * (1.0 / 120);
  const T easting = nu * easting_series;

  // Scale and false origin.
  const double k0 = projection_.scale_factor();
  const T Northing = northing * k0 + projection_.false_northing();
  const T Easting = easting * k0 + projection_.false_easting();
  if (const fp::Fault fault = fp::CheckStep(checking_, Northing, Easting);
      fault != fp::Fault::NoFault) {
    return fault;
  }
  point.Northing = Northing;
  point.Easting = Easting;
  return fp::Fault::NoFault;
}

template fp::Fault PreparedTransverseMercator::Apply(TWorkingPoint&,
                                                     const CarriedTrig<double>*) const;
template fp::Fault PreparedTransverseMercator::Apply(PointLanes&,
                                                     const CarriedTrig<Lanes>*) const;

}  // namespace engine_internal

// G at phi on its own.
double TEllipsoid::MeridianArc(double phi) const {
  double sin_phi, cos_phi;
  engine_internal::SinCos(phi, sin_phi, cos_phi);
  return engine_internal::MeridianArcFrom(projection_, phi, sin_phi, cos_phi);
}

// nu at phi on its own.
double TEllipsoid::PrimeVerticalRadius(double phi) const {
  return engine_internal::PrimeVerticalRadiusFrom(projection_, engine_internal::Sin(phi));
}

// X = nu cos phi cos lambda, Y = nu cos phi sin lambda, Z = nu (1 - e^2) sin phi.
std::array<double, 3> TEllipsoid::Geocentric(double phi, double lambda) const {
  double sin_phi, cos_phi, sin_lambda, cos_lambda;
  engine_internal::SinCos(phi, sin_phi, cos_phi);
  engine_internal::SinCos(lambda, sin_lambda, cos_lambda);
  const double nu = engine_internal::PrimeVerticalRadiusFrom(projection_, sin_phi);
  return {nu * cos_phi * cos_lambda, nu * cos_phi * sin_lambda, nu * (1 - e2_) * sin_phi};
}

double LongitudeFromCentralMeridian(const TGridSystem& system, double longitude) {
  return engine_internal::HalfTurnRange(longitude - system.projection.central_meridian());
}

Status TransverseMercator(const TGridSystem& system, TWorkingPoint& point) {
  return engine_internal::RunAlone<engine_internal::PreparedTransverseMercator,
                                   &TWorkingPoint::Northing, &TWorkingPoint::Easting>(system, point);
}

}  // namespace tervela
