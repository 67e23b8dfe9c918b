#include "conversion/point_converter.h"

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

Status PointConverter::ConvertReading(double first, double second, TWorkingPoint& point) {
  if (Status taken = TakeSourceSystem(); !taken) return taken;
  if (Ready()) return Convert(first, second, point);
  point.TargetNorthing = first;
  point.TargetEasting = second;
  if (Status inverted = GridToGeographic(*source_, method_, point); !inverted) return inverted;
  if (Status taken = Take(TargetSystem(direction_), target_); !taken) return taken;
  return GeographicToGrid(*target_, method_, point);
}

Status PointConverter::Convert(double first, double second, TWorkingPoint& point) const {
  if (FromWgs(direction_)) {
    point.Latitude = first;
    point.Longitude = second;
    return GeographicToGrid(*source_, method_, point);
  }
  Status inverted = InvertSource(first, second, point);
  if (!inverted || !GridToGrid(direction_)) return inverted;
  return GeographicToGrid(*target_, method_, point);
}

Status PointConverter::InvertSource(double northing, double easting, TWorkingPoint& point) const {
  point.TargetNorthing = northing;
  point.TargetEasting = easting;
  return GridToGeographic(*source_, method_, point);
}

void PointConverter::ConvertAll(std::span<const std::pair<double, double>> readings,
                                std::span<TWorkingPoint> points, std::span<Status> statuses) const {
  const std::size_t count = readings.size();
  if (FromWgs(direction_)) {
    for (std::size_t i = 0; i < count; ++i) {
      points[i].Latitude = readings[i].first;
      points[i].Longitude = readings[i].second;
    }
    GeographicToGridBatch(*source_, method_, points.first(count), statuses);
    return;
  }
  for (std::size_t i = 0; i < count; ++i) {
    points[i].TargetNorthing = readings[i].first;
    points[i].TargetEasting = readings[i].second;
  }
  GridToGeographicBatch(*source_, method_, points.first(count), statuses);
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
