#include "engine/tests/literal_reference.h"

#include <array>
#include <cmath>

namespace tervela::literal {

namespace {
constexpr double pi = 3.14159265358979323846;
}

void ThreeParameterShift(const TGridSystem& s, TWorkingPoint& p) {
  p.Latitude = s.molodensky.corr_n() / 3600 + p.Latitude;
  p.Longitude = s.molodensky.corr_e() / 3600 + p.Longitude;
  const double h = 200.0;
  const double phi = p.Latitude / 180 * pi;
  const double lambda = p.Longitude / 180 * pi;
  const double sinphi = std::sin(phi), cosphi = std::cos(phi);
  const double sinlambda = std::sin(lambda), coslambda = std::cos(lambda);
  const double Dx = s.molodensky.translation()[0], Dy = s.molodensky.translation()[1],
               Dz = s.molodensky.translation()[2], Da = s.ellipsoid.da();
  const double df = s.ellipsoid.df();
  const double a = 6378137 - Da;
  const double f = 0.00335281066474 - df;
  const double b = (1 - f) * a;
  const double e = std::sqrt((2 - f) * f);
  const double W = 1 - (e * sinphi) * (e * sinphi);
  const double N = a / std::sqrt(W);
  const double M = (1 - e * e) * a / std::sqrt(W * W * W);
  const double S = -Dx * sinphi * coslambda + -Dy * sinphi * sinlambda + Dz * cosphi +
                   Da * N * (e * e) * sinphi * cosphi / a +
                   df * (a / b * M + b / a * N) * sinphi * cosphi;
  const double dphi = S * (1 / (M + h));
  const double dlambda = (-Dx * sinlambda + Dy * coslambda) * (1 / ((N + h) * cosphi));
  p.Latitude = p.Latitude - dphi * 180 / pi;
  p.Longitude = p.Longitude - dlambda * 180 / pi;
}

void TransverseMercator(const TGridSystem& s, TWorkingPoint& p) {
  const double L = (p.Longitude - s.projection.central_meridian()) * pi / 180;
  const double phi = pi * p.Latitude / 180;
  const double a = 6378137 - s.ellipsoid.da();
  const double b = a * (s.ellipsoid.df() + 0.996647189328169);
  const double e2 = 1 - b * b / (a * a);
  const double n = (a - b) / (a + b);
  const double ep2 = e2 / (1 - e2);
  const double alpha = (a + b) / 2 * (1 + n * n / 4 + std::pow(n, 4) / 64);
  const double beta = -3 * n / 2 + 9 * std::pow(n, 3) / 16 - 3 * std::pow(n, 5) / 32;
  const double gamma = 15 * n * n / 16 - 15 * std::pow(n, 4) / 32;
  const double delta = -35 * std::pow(n, 3) / 48 + 105 * std::pow(n, 5) / 256;
  const double G = alpha * (phi + beta * std::sin(2 * phi) + gamma * std::sin(4 * phi) +
                            delta * std::sin(6 * phi));
  const double nu = a / std::sqrt(1 - e2 * std::sin(phi) * std::sin(phi));
  const double t = std::sin(phi) / std::cos(phi);
  const double eta2 = ep2 * std::cos(phi) * std::cos(phi);
  const double northing = nu / 2 * std::sin(phi) * std::cos(phi) * L * L +
                          nu / 24 * std::sin(phi) * std::pow(std::cos(phi), 3) *
                              (5 - t * t + 9 * eta2 + 4 * eta2 * eta2) * std::pow(L, 4) +
                          nu / 720 * std::sin(phi) * std::pow(std::cos(phi), 5) *
                              (61 - 58 * t * t + std::pow(t, 4) + 270 * eta2 - 330 * t * t * eta2) *
                              std::pow(L, 6) +
                          G;
  const double easting = nu * std::cos(phi) * L +
                         nu / 6 * std::pow(std::cos(phi), 3) * (1 - t * t + eta2) * std::pow(L, 3) +
                         nu / 120 * std::pow(std::cos(phi), 5) *
                             (5 - 18 * t * t + std::pow(t, 4) + 14 * eta2 - 58 * t * t * eta2) *
                             std::pow(L, 5);
  p.Northing = northing * s.projection.scale_factor() + s.projection.false_northing();
  p.Easting = easting * s.projection.scale_factor() + s.projection.false_easting();
}

Geocentric GeodeticToGeocentric(double latitude, double longitude) {
  const double phi = latitude / 180 * pi;
  const double lambda = longitude / 180 * pi;
  const double h = 200.0;
  const double N = 6378137 / std::sqrt(1 - 0.006694380004261 * std::sin(phi) * std::sin(phi));
  return {std::cos(lambda) * std::cos(phi) * (N + h), std::sin(lambda) * std::cos(phi) * (N + h),
          std::sin(phi) * (0.993305619995739 * N + h)};
}

Geocentric HelmertTransform(const TGridSystem& s, const Geocentric& g) {
  const std::array<double, 3>& r = s.helmert.rotation();
  const double cx = std::cos(r[0]), sx = std::sin(r[0]);
  const double cy = std::cos(r[1]), sy = std::sin(r[1]);
  const double cz = std::cos(r[2]), sz = std::sin(r[2]);
  const double R[3][3] = {{cy * cz, cx * sz + sx * sy * cz, sx * sz - cx * sy * cz},
                          {-cy * sz, cx * cz - sx * sy * sz, sx * cz + cx * sy * sz},
                          {sy, -sx * cy, cx * cy}};
  const double K = s.helmert.scale_difference();
  const double u = (1 + K) * g.X, v = (1 + K) * g.Y, w = (1 + K) * g.Z;
  const std::array<double, 3>& T = s.helmert.translation();
  double out[3];
  for (int r = 0; r < 3; ++r) out[r] = T[r] + (R[r][0] * u + R[r][1] * v + R[r][2] * w);
  return {out[0], out[1], out[2]};
}

void GeocentricToGeodetic(const TGridSystem& s, const Geocentric& g, double& latitude,
                          double& longitude) {
  const double a = 6378137 - s.ellipsoid.da();
  const double b = a * (s.ellipsoid.df() + 0.996647189328169);
  const double e2 = 1 - b * b / (a * a);
  const double ep2 = a * a / (b * b) - 1;
  const double p = std::sqrt(g.X * g.X + g.Y * g.Y);
  const double theta = std::atan(g.Z * a / (p * b));
  const double phi = std::atan((g.Z + ep2 * b * std::pow(std::sin(theta), 3)) /
                               (p - e2 * a * std::pow(std::cos(theta), 3)));
  const double lambda = g.X != 0 ? std::atan(g.Y / g.X) : pi / 2;
  latitude = phi * 180 / pi;
  longitude = lambda * 180 / pi;
}

void SevenParameterShift(const TGridSystem& s, TWorkingPoint& p) {
  const Geocentric local = HelmertTransform(s, GeodeticToGeocentric(p.Latitude, p.Longitude));
  GeocentricToGeodetic(s, local, p.Latitude, p.Longitude);
}

void GeographicToGrid(const TGridSystem& s, bool seven, TWorkingPoint& p) {
  if (seven) {
    SevenParameterShift(s, p);
  } else {
    ThreeParameterShift(s, p);
  }
  TransverseMercator(s, p);
}

void GridToGeographic(const TGridSystem& s, bool seven, TWorkingPoint& p) {
  p.Latitude = 45.0;
  p.Longitude = 13.0;
  GeographicToGrid(s, seven, p);
  double la = 45.0, lo = 13.0, N = p.Northing, E = p.Easting;
  for (int i = 0; i < 10; ++i) {
    const double dla = (p.TargetNorthing - N) * 8.884449823e-6;
    const double dlo = (p.TargetEasting - E) * 1.314944622e-5;
    la = la + dla;
    lo = lo + dlo;
    p.Longitude = lo;
    p.Latitude = la;
    GeographicToGrid(s, seven, p);
    N = p.Northing;
    E = p.Easting;
  }
  p.Latitude = la;
  p.Longitude = lo;
}

}  // namespace tervela::literal
