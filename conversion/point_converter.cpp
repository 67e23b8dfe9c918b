#include "conversion/point_converter.h"

#include <algorithm>
#include <cmath>

namespace tervela {

PointConverter::PointConverter(TConversionDirection direction, TShiftMethod method,
                               const TRecordSystems& systems)
    : direction_(direction), method_(method), systems_(systems) {}

Status PointConverter::Take(TLocalSystem system, const TGridSystem*& taken) {
  const Result<TGridSystem>& grid = systems_[system].grid;
  if (!grid) return grid.error();
  taken = &grid.value();
  return {};
}

Status PointConverter::TakeSourceSystem() {
  if (source_ != nullptr) return {};
  source_asked_ = true;
  return Take(SourceSystem(direction_), source_);
}

Status PointConverter::ConvertReading(double first, double second, TWorkingPoint& point,
                                      TWgs84Position* wgs84) {
  if (Status taken = TakeSourceSystem(); !taken) return taken;
  if (Ready()) return Convert(first, second, point, wgs84);
  point.TargetNorthing = first;
  point.TargetEasting = second;
  if (Status inverted = GridToGeographic(*source_, method_, point); !inverted) return inverted;
  if (wgs84 != nullptr) *wgs84 = {point.Latitude, point.Longitude};
  if (Status taken = Take(TargetSystem(direction_), target_); !taken) return taken;
  return GeographicToGrid(*target_, method_, point);
}

Status PointConverter::Convert(double first, double second, TWorkingPoint& point,
                               TWgs84Position* wgs84) const {
  if (FromWgs(direction_)) {
    if (wgs84 != nullptr) *wgs84 = {first, second};
    point.Latitude = first;
    point.Longitude = second;
    return GeographicToGrid(*source_, method_, point);
  }
  point.TargetNorthing = first;
  point.TargetEasting = second;
  const Status inverted = GridToGeographic(*source_, method_, point);
  if (wgs84 != nullptr) *wgs84 = {point.Latitude, point.Longitude};
  if (!inverted || !GridToGrid(direction_)) return inverted;
  return GeographicToGrid(*target_, method_, point);
}

// The point's longitude is on the datum of the (last) grid from WGS84 and
// after a grid-to-grid direction's second leg, WGS84's from a grid: the
// datums differ by seconds, which this distance does without.
double PointConverter::DegreesFromCentralMeridian(const TWorkingPoint& point) const {
  const double source = std::fabs(LongitudeFromCentralMeridian(*source_, point.Longitude));
  if (!GridToGrid(direction_)) return source;
  return std::max(source, std::fabs(LongitudeFromCentralMeridian(*target_, point.Longitude)));
}

void PointConverter::ConvertAll(std::span<const std::pair<double, double>> readings,
                                std::span<TWorkingPoint> points, std::span<TWgs84Position> wgs84,
                                std::span<Status> statuses) const {
  const std::size_t count = readings.size();
  if (FromWgs(direction_)) {
    for (std::size_t i = 0; i < count; ++i) {
      points[i].Latitude = readings[i].first;
      points[i].Longitude = readings[i].second;
      wgs84[i] = {readings[i].first, readings[i].second};
    }
    GeographicToGridBatch(*source_, method_, points.first(count), statuses);
    return;
  }
  for (std::size_t i = 0; i < count; ++i) {
    points[i].TargetNorthing = readings[i].first;
    points[i].TargetEasting = readings[i].second;
  }
  GridToGeographicBatch(*source_, method_, points.first(count), statuses);
  for (std::size_t i = 0; i < count; ++i) wgs84[i] = {points[i].Latitude, points[i].Longitude};
  if (!GridToGrid(direction_)) return;
  // The points inverted before the first failure side by side, any after it
  // one by one.
  std::size_t inverted = 0;
  while (inverted < count && statuses[inverted]) ++inverted;
  GeographicToGridBatch(*target_, method_, points.first(inverted), statuses);
  for (std::size_t i = inverted; i < count; ++i) {
    if (statuses[i]) statuses[i] = GeographicToGrid(*target_, method_, points[i]);
  }
}

double PointConverter::GridFalseEasting() const {
  if (target_ != nullptr) return target_->projection.false_easting();
  if (source_asked_) return systems_[SourceSystem(direction_)].false_easting_read;
  return 0;
}

}  // namespace tervela
