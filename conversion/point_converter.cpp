#include "conversion/point_converter.h"

#include <algorithm>
#include <cmath>

namespace tervela {

static_assert(kSystemTextCount == kParameterCount);

PointConverter::PointConverter(TConversionDirection direction, TShiftMethod method,
                               const TSettingsTexts& texts, char decimal_separator,
                               std::string settings_name)
    : direction_(direction),
      method_(method),
      texts_(texts),
      decimal_separator_(decimal_separator),
      settings_name_(std::move(settings_name)) {}

Status PointConverter::ReadSystem(TLocalSystem system, TParameterSet& set) const {
  const Status read = ReadParameterSet(ParameterTexts(texts_, system), decimal_separator_, set);
  if (read) return read;
  // The set's lines follow those of the systems before it in the record.
  const std::uint64_t first_line = system == TLocalSystem::A ? 0 : kSystemTextCount;
  return read.error().At(settings_name_, first_line + read.error().line());
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
  Status inverted = InvertSource(first, second, point);
  if (!inverted || !GridToGrid(direction_)) return inverted;
  return GeographicToGrid(target_, method_, point);
}

Status PointConverter::InvertSource(double northing, double easting, TWorkingPoint& point) const {
  point.TargetNorthing = northing;
  point.TargetEasting = easting;
  return GridToGeographic(source_, method_, point);
}

// The point's longitude is on the datum of the (last) grid from WGS84 and
// after a grid-to-grid direction's second leg, WGS84's from a grid: the
// datums differ by seconds, which this distance does without.
double PointConverter::DegreesFromCentralMeridian(const TWorkingPoint& point) const {
  const double source = std::fabs(LongitudeFromCentralMeridian(source_, point.Longitude));
  if (!GridToGrid(direction_)) return source;
  return std::max(source, std::fabs(LongitudeFromCentralMeridian(target_, point.Longitude)));
}

void PointConverter::ConvertAll(std::span<const std::pair<double, double>> readings,
                                std::span<TWorkingPoint> points,
                                std::span<Status> statuses) const {
  const std::size_t count = readings.size();
  if (FromWgs(direction_)) {
    for (std::size_t i = 0; i < count; ++i) {
      points[i].Latitude = readings[i].first;
      points[i].Longitude = readings[i].second;
    }
    GeographicToGridBatch(source_, method_, points.first(count), statuses);
    return;
  }
  for (std::size_t i = 0; i < count; ++i) {
    points[i].TargetNorthing = readings[i].first;
    points[i].TargetEasting = readings[i].second;
  }
  GridToGeographicBatch(source_, method_, points.first(count), statuses);
  if (!GridToGrid(direction_)) return;
  // The points inverted before the first failure side by side, any after it
  // one by one.
  std::size_t inverted = 0;
  while (inverted < count && statuses[inverted]) ++inverted;
  GeographicToGridBatch(target_, method_, points.first(inverted), statuses);
  for (std::size_t i = inverted; i < count; ++i) {
    if (statuses[i]) statuses[i] = GeographicToGrid(target_, method_, points[i]);
  }
}

}  // namespace tervela
