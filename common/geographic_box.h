#pragma once

// A place on the Earth in degrees, and the bounding box of an area of use as
// EPSG gives it: west to east, south to north, a west bound greater than the
// east one meaning a box across the 180th meridian.

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace tervela {

struct TGeographicPoint {
  double latitude = 0;   // degrees north
  double longitude = 0;  // degrees east
};

struct TGeographicBox {
  double west = 0, south = 0, east = 0, north = 0;  // degrees
};

// Whether `point` lies in `box`, bounds included, its longitude taken modulo 360.
bool Holds(const TGeographicBox& box, const TGeographicPoint& point);

// The share of the surface of `whole` that `part` covers, 0 to 1 (exactly 1
// when `part` holds all of it); for a `whole` without surface, 1 when `part`
// holds its centre, else 0.
double SharedFraction(const TGeographicBox& part, const TGeographicBox& whole);

// The middle of the box's latitudes and of its longitudes, west to east.
TGeographicPoint Centre(const TGeographicBox& box);

// South-west, south-east, north-west, north-east.
std::array<TGeographicPoint, 4> Corners(const TGeographicBox& box);

// "50.1,8.7" or "50.1, 8.7": a latitude and a longitude in degrees (north and
// east positive) as typed numbers (ParseTypedNumber) separated by a comma, or
// by a semicolon where `decimal_separator` is a comma. Unset for any other
// text.
std::optional<TGeographicPoint> ReadPlace(std::string_view text, char decimal_separator);

// Latitude from -90 to 90, longitude from -180 to 180.
bool OnTheEarth(const TGeographicPoint& point);

// "51.2N 9.0E": one decimal, as a place is named.
std::string PointText(const TGeographicPoint& point);

// "47.27N 5.86E to 55.09N 13.84E": the south-west and north-east corners to
// the hundredth of a degree EPSG gives, trailing zeros dropped.
std::string BoxText(const TGeographicBox& box);

}  // namespace tervela
