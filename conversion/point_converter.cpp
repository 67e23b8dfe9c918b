#include "conversion/point_converter.h"

namespace tervela {

static_assert(kSystemTextCount == kParameterCount);

PointConverter::PointConverter(TConversionDirection direction, TShiftMethod method,
                               const TSettingsTexts& texts, char decimal_separator)
    : direction_(direction), method_(method), texts_(texts), decimal_separator_(decimal_separator) {}

Status PointConverter::ReadSystem(TLocalSystem system, TParameterSet& set) const {
  return ReadParameterSet(ParameterTexts(texts_, system), decimal_separator_, set);
}

Status PointConverter::ReadSourceSystem() {
  if (source_read_) return {};
  Status read = ReadSystem(SourceSystem(direction_), source_);
  source_read_ = read.ok();
  return read;
}

Status PointConverter::ConvertReading(double first, double second, TWorkingPoint& point) {
  if (Status read = ReadSourceSystem(); !read) return read;
  if (Ready()) return Convert(first, second, point);
  point.TargetNorthing = first;
  point.TargetEasting = second;
  if (Status inverted = GridToGeographic(source_, method_, point); !inverted) return inverted;
  Status read = ReadSystem(TargetSystem(direction_), target_);
  if (!read) return read;
  target_read_ = true;
  return GeographicToGrid(target_, method_, point);
}

Status PointConverter::Convert(double first, double second, TWorkingPoint& point) const {
  if (FromWgs(direction_)) {
    point.Latitude = first;
    point.Longitude = second;
    return GeographicToGrid(source_, method_, point);
  }
  point.TargetNorthing = first;
  point.TargetEasting = second;
  Status inverted = GridToGeographic(source_, method_, point);
  if (!inverted || !GridToGrid(direction_)) return inverted;
  return GeographicToGrid(target_, method_, point);
}

void PointConverter::ConvertPair(double first_a, double second_a, TWorkingPoint& a,
                                 Status& status_a, double first_b, double second_b,
                                 TWorkingPoint& b, Status& status_b) const {
  if (FromWgs(direction_)) {
    status_a = Convert(first_a, second_a, a);
    status_b = Convert(first_b, second_b, b);
    return;
  }
  a.TargetNorthing = first_a;
  a.TargetEasting = second_a;
  b.TargetNorthing = first_b;
  b.TargetEasting = second_b;
  GridToGeographicPair(source_, method_, a, status_a, b, status_b);
  if (!GridToGrid(direction_)) return;
  if (status_a) status_a = GeographicToGrid(target_, method_, a);
  if (status_b) status_b = GeographicToGrid(target_, method_, b);
}

}  // namespace tervela
