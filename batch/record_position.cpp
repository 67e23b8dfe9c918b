#include "batch/record_sink.h"

namespace tervela {

TRecordPosition PositionOf(TConversionDirection direction, std::string_view first_token,
                           std::string_view second_token, double first, double second,
                           const TWorkingPoint& converted, const TWgs84Position& wgs84) {
  TRecordPosition position{first_token, second_token};
  position.latitude = wgs84.latitude;
  position.longitude = wgs84.longitude;
  if (ToWgs(direction)) {
    position.northing = first;
    position.easting = second;
  } else {
    position.northing = converted.Northing;
    position.easting = converted.Easting;
  }
  return position;
}

}  // namespace tervela
