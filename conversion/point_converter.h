#pragma once

#include <span>
#include <utility>

#include "common/result.h"
#include "conversion/direction.h"
#include "engine/engine.h"
#include "settings/record_systems.h"

namespace tervela {

// A point's WGS84 latitude and longitude [degrees].
struct TWgs84Position {
  double latitude = 0, longitude = 0;
};

// Converts points in one direction with one datum shift method between the
// systems of a settings record. A conversion takes each system the moment
// it first needs it, so that a system whose texts failed to read fails the
// conversion where reading its texts then would have: the source system
// before the point's own numbers (TakeSourceSystem), the target system of a
// grid-to-grid direction only after the first inversion succeeded.
class PointConverter {
 public:
  // Keeps a reference to `systems`, which must outlive the converter.
  PointConverter(TConversionDirection direction, TShiftMethod method,
                 const TRecordSystems& systems);

  TConversionDirection direction() const { return direction_; }
  TShiftMethod method() const { return method_; }

  // Takes the source system unless that was done already: fails with the
  // error of its texts.
  Status TakeSourceSystem();

  // True once every system the direction uses is taken: Convert may then be
  // called from several threads at once.
  bool Ready() const { return source_ != nullptr && (target_ != nullptr || !GridToGrid(direction_)); }

  // Converts (first, second) into `point`: latitude and longitude in degrees
  // from WGS84, otherwise northing and easting in metres of the source grid.
  // The point ends as the engine's chains leave it: grid results in
  // Northing/Easting, WGS84 results in Latitude/Longitude. Takes what is not
  // taken yet, in the order described above.
  // `wgs84`, when given, receives the point's WGS84 position: the reading
  // from WGS84, the result to WGS84, and the result of the first leg of a
  // grid-to-grid direction, which its second leg overwrites in `point`.
  Status ConvertReading(double first, double second, TWorkingPoint& point,
                        TWgs84Position* wgs84 = nullptr);

  // As ConvertReading, once Ready(); touches nothing but `point` and `wgs84`.
  Status Convert(double first, double second, TWorkingPoint& point,
                 TWgs84Position* wgs84 = nullptr) const;

  // Convert for several points, readings[i] = (first, second) into points[i]
  // and wgs84[i] ending with statuses[i], each as Convert would leave them,
  // the chains running for several points side by side. `points`, `wgs84`
  // and `statuses` have at least as many elements as `readings`.
  void ConvertAll(std::span<const std::pair<double, double>> readings,
                  std::span<TWorkingPoint> points, std::span<TWgs84Position> wgs84,
                  std::span<Status> statuses) const;

  // The false easting [m] of the grid the converted points are drawn on,
  // as far as it was taken: the target's once taken, else the source's once
  // asked for (TRecordSystem::false_easting_read), else 0.
  double GridFalseEasting() const;

  // How far `point`, as Convert left it, lies from the central meridian of
  // the grid it was converted on, in degrees: of the farther one for a
  // grid-to-grid direction.
  double DegreesFromCentralMeridian(const TWorkingPoint& point) const;

  // The system of the grid a successful conversion's point lies on: the
  // target's of a grid-to-grid direction, else the source's.
  const TGridSystem& GridSystem() const { return GridToGrid(direction_) ? *target_ : *source_; }

 private:
  Status Take(TLocalSystem system, const TGridSystem*& taken);

  TConversionDirection direction_;
  TShiftMethod method_;
  const TRecordSystems& systems_;
  const TGridSystem* source_ = nullptr;
  const TGridSystem* target_ = nullptr;
  bool source_asked_ = false;
};

}  // namespace tervela
