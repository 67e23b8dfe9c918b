#include "batch/record_sink.h"

namespace tervela {

Result<TRecordPosition> PositionOf(const PointConverter& converter, std::string_view first_token,
                                   std::string_view second_token, double first, double second,
                                   const TWorkingPoint& converted) {
  TRecordPosition position{first_token, second_token};
  const TConversionDirection direction = converter.direction();
  if (FromWgs(direction)) {
    position.latitude = first;
    position.longitude = second;
  } else if (ToWgs(direction)) {
    position.latitude = converted.Latitude;
    position.longitude = converted.Longitude;
  } else {
    TWorkingPoint between;
    if (Status inverted = converter.InvertSource(first, second, between); !inverted) {
      return inverted.error();
    }
    position.latitude = between.Latitude;
    position.longitude = between.Longitude;
  }
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
