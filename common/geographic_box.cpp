#include "common/geographic_box.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "common/number_text.h"

namespace tervela {

namespace {

constexpr double kRadiansPerDegree = std::numbers::pi / 180;

// The box's east bound counted on from its west bound: west to west + 360.
double EastFromWest(const TGeographicBox& box) { return box.east >= box.west ? box.east : box.east + 360; }

// The degrees of longitude two boxes share, either one moved a turn.
double SharedLongitudes(const TGeographicBox& a, const TGeographicBox& b) {
  double shared = 0;
  for (const double turn : {-360.0, 0.0, 360.0}) {
    shared += std::max(0.0, std::min(EastFromWest(a), EastFromWest(b) + turn) - std::max(a.west, b.west + turn));
  }
  return std::min(shared, EastFromWest(b) - b.west);
}

// The surface between two latitudes is proportional to the difference of
// their sines.
double SineBand(double south, double north) {
  return north > south ? std::sin(north * kRadiansPerDegree) - std::sin(south * kRadiansPerDegree) : 0;
}

std::string Degrees(double value, int decimals, bool trim, char positive, char negative) {
  const std::string text =
      trim ? FormatTrimmed(std::fabs(value), decimals, '.') : FormatFixed(std::fabs(value), decimals, '.');
  return text + (value < 0 && text.find_first_not_of("0.") != std::string::npos ? negative : positive);
}

}  // namespace

bool Holds(const TGeographicBox& box, const TGeographicPoint& point) {
  if (!(point.latitude >= box.south && point.latitude <= box.north)) return false;
  double longitude = std::fmod(point.longitude - box.west, 360.0);
  if (longitude < 0) longitude += 360;
  return box.west + longitude <= EastFromWest(box) || point.longitude == box.east;
}

double SharedFraction(const TGeographicBox& part, const TGeographicBox& whole) {
  const double surface = (EastFromWest(whole) - whole.west) * SineBand(whole.south, whole.north);
  if (!(surface > 0)) return Holds(part, Centre(whole)) ? 1 : 0;
  const double shared = SharedLongitudes(part, whole) *
                        SineBand(std::max(part.south, whole.south), std::min(part.north, whole.north));
  return std::min(1.0, shared / surface);
}

TGeographicPoint Centre(const TGeographicBox& box) {
  double longitude = (box.west + EastFromWest(box)) / 2;
  if (longitude > 180) longitude -= 360;
  return {(box.south + box.north) / 2, longitude};
}

std::array<TGeographicPoint, 4> Corners(const TGeographicBox& box) {
  return {{{box.south, box.west}, {box.south, box.east}, {box.north, box.west}, {box.north, box.east}}};
}

std::optional<TGeographicPoint> ReadPlace(std::string_view text, char decimal_separator) {
  const std::size_t separator = text.find(decimal_separator == ',' ? ';' : ',');
  if (separator == std::string_view::npos) return std::nullopt;
  const Result<double> latitude = ParseTypedNumber(text.substr(0, separator), decimal_separator);
  const Result<double> longitude = ParseTypedNumber(text.substr(separator + 1), decimal_separator);
  if (!latitude || !longitude) return std::nullopt;
  return TGeographicPoint{latitude.value(), longitude.value()};
}

bool OnTheEarth(const TGeographicPoint& point) {
  return std::fabs(point.latitude) <= 90 && std::fabs(point.longitude) <= 180;
}

std::string PointText(const TGeographicPoint& point) {
  return Degrees(point.latitude, 1, false, 'N', 'S') + " " + Degrees(point.longitude, 1, false, 'E', 'W');
}

std::string BoxText(const TGeographicBox& box) {
  const auto corner = [](double latitude, double longitude) {
    return Degrees(latitude, 2, true, 'N', 'S') + " " + Degrees(longitude, 2, true, 'E', 'W');
  };
  return corner(box.south, box.west) + " to " + corner(box.north, box.east);
}

}  // namespace tervela
