#pragma once

#include <span>
#include <string>
#include <utility>

#include "common/result.h"
#include "conversion/direction.h"
#include "engine/engine.h"
#include "settings/settings_record.h"

namespace tervela {

// Converts points in one direction with one datum shift method, reading the
// parameter sets from the Settings page's texts. Each system is parsed once,
// at the moment a conversion first needs it, so that the first bad text is
// the one a single conversion meets first: the source system before the
// point's own numbers (ReadSourceSystem), the target system of a grid-to-grid
// direction only after the first inversion succeeded.
class PointConverter {
 public:
  // Keeps a reference to `texts`, which must outlive the converter.
  // `settings_name`: the file the texts were read from, if any; a text that
  // is no number fails placed at it and at the text's line (1 to 38).
  PointConverter(TConversionDirection direction, TShiftMethod method, const TSettingsTexts& texts,
                 char decimal_separator, std::string settings_name = {});

  TConversionDirection direction() const { return direction_; }
  TShiftMethod method() const { return method_; }

  // Parses the source system's eighteen texts unless that was done already.
  Status ReadSourceSystem();

  // True once every system the direction uses is parsed: Convert may then be
  // called from several threads at once.
  bool Ready() const { return source_read_ && (target_read_ || !GridToGrid(direction_)); }

  // Converts (first, second) into `point`: latitude and longitude in degrees
  // from WGS84, otherwise northing and easting in metres of the source grid.
  // The point ends as the engine's chains leave it: grid results in
  // Northing/Easting, WGS84 results in Latitude/Longitude. Parses what is
  // not parsed yet, in the order described above.
  Status ConvertReading(double first, double second, TWorkingPoint& point);

  // As ConvertReading, once Ready(); touches nothing but `point`.
  Status Convert(double first, double second, TWorkingPoint& point) const;

  // The first leg of a grid-to-grid direction alone, once Ready(): the source
  // grid's (northing, easting) in metres into WGS84 latitude and longitude
  // in `point`.
  Status InvertSource(double northing, double easting, TWorkingPoint& point) const;

  // Convert for several points, readings[i] = (first, second) into points[i]
  // ending with statuses[i], each as Convert would leave them, the chains
  // running for several points side by side. `points` and `statuses` have
  // at least as many elements as `readings`.
  void ConvertAll(std::span<const std::pair<double, double>> readings,
                  std::span<TWorkingPoint> points, std::span<Status> statuses) const;

  // How far `point`, as Convert left it, lies from the central meridian of
  // the grid it was converted on, in degrees: of the farther one for a
  // grid-to-grid direction.
  double DegreesFromCentralMeridian(const TWorkingPoint& point) const;

  // The parameter set parsed last: the engine's active set after a run.
  const TParameterSet& ActiveSet() const { return target_read_ ? target_ : source_; }

 private:
  Status ReadSystem(TLocalSystem system, TParameterSet& set) const;

  TConversionDirection direction_;
  TShiftMethod method_;
  const TSettingsTexts& texts_;
  char decimal_separator_;
  std::string settings_name_;
  TParameterSet source_;
  TParameterSet target_;
  bool source_read_ = false;
  bool target_read_ = false;
};

}  // namespace tervela
