#include "conversion/single_point.h"

#include "common/number_text.h"

namespace tervela {

namespace {

// Decimals of the window's outputs.
constexpr int kGridDecimals = 3;        // metres
constexpr int kReadoutDecimals = 6;     // Edit45, Edit46
constexpr int kGeographicDecimals = 8;  // WGS84 results in Edit41, Edit42

// Parses one text of the page into `target`; the first failure ends the request.
Status ParseInto(const std::string& text, char separator, double& target) {
  Result<double> value = ParseTypedNumber(text, separator);
  if (!value) return value.error();
  target = value.value();
  return {};
}

// The first reads of every direction: the source system's eighteen texts, then
// Edit39 into `first` and Edit40 into `second`.
Status ReadSourceAndInputs(TConversionDirection direction, const TSettingsTexts& settings,
                           char separator, const TConversionPage& page, TParameterSet& set,
                           double& first, double& second) {
  if (Status s = ReadParameterSet(ParameterTexts(settings, SourceSystem(direction)), separator, set);
      !s) {
    return s;
  }
  if (Status s = ParseInto(page.Edit39, separator, first); !s) return s;
  return ParseInto(page.Edit40, separator, second);
}

// The change readout: the previous output minus the new one, in extended precision.
Result<std::string> ChangeReadout(const std::string& previous_text, double new_value,
                                  char separator) {
  Result<double> previous = ParseTypedNumber(previous_text, separator);
  if (!previous) return previous.error();
  const long double change =
      static_cast<long double>(previous.value()) - static_cast<long double>(new_value);
  return FormatFixed(change, kGridDecimals, separator);
}

// WgsToA, WgsToB: set, inputs, forward chain, then the change readouts and outputs.
Status ConvertFromWgs(TConversionDirection direction, TShiftMethod method,
                      const TSettingsTexts& settings, char separator, TEngineRecords& engine,
                      TConversionPage& page) {
  TWorkingPoint& point = engine.point;
  if (Status s = ReadSourceAndInputs(direction, settings, separator, page, engine.set,
                                     point.Latitude, point.Longitude);
      !s) {
    return s;
  }
  if (Status s = GeographicToGrid(engine.set, method, point); !s) return s;

  Result<std::string> northing_change = ChangeReadout(page.Edit41, point.Northing, separator);
  if (!northing_change) return northing_change.error();
  // Label27 is written before Edit42 is read, so a bad Edit42 leaves it changed.
  page.Label27 = northing_change.value();
  Result<std::string> easting_change = ChangeReadout(page.Edit42, point.Easting, separator);
  if (!easting_change) return easting_change.error();
  page.Label28 = easting_change.value();
  page.Edit41 = FormatFixed(point.Northing, kGridDecimals, separator);
  page.Edit42 = FormatFixed(point.Easting, kGridDecimals, separator);
  return {};
}

// AToWgs, BToWgs, AToB, BToA: set, grid inputs, inversion, and for grid to grid
// the second set and the forward chain.
Status ConvertFromGrid(TConversionDirection direction, TShiftMethod method,
                       const TSettingsTexts& settings, char separator, TEngineRecords& engine,
                       TConversionPage& page) {
  TWorkingPoint& point = engine.point;
  if (Status s = ReadSourceAndInputs(direction, settings, separator, page, engine.set,
                                     point.TargetNorthing, point.TargetEasting);
      !s) {
    return s;
  }
  if (Status s = GridToGeographic(engine.set, method, point); !s) return s;

  if (ToWgs(direction)) {
    page.Edit41 = FormatFixed(point.Latitude, kGeographicDecimals, separator);
    page.Edit42 = FormatFixed(point.Longitude, kGeographicDecimals, separator);
    return {};
  }
  if (Status s = ReadParameterSet(ParameterTexts(settings, TargetSystem(direction)), separator,
                                  engine.set);
      !s) {
    return s;
  }
  if (Status s = GeographicToGrid(engine.set, method, point); !s) return s;
  page.Edit41 = FormatFixed(point.Northing, kGridDecimals, separator);
  page.Edit42 = FormatFixed(point.Easting, kGridDecimals, separator);
  return {};
}

}  // namespace

Status ConvertData(TConversionDirection direction, TShiftMethod method,
                   const TSettingsTexts& settings, char decimal_separator, TEngineRecords& engine,
                   TConversionPage& page) {
  Status status = FromWgs(direction)
                      ? ConvertFromWgs(direction, method, settings, decimal_separator, engine, page)
                      : ConvertFromGrid(direction, method, settings, decimal_separator, engine, page);
  if (!status) return status;
  page.Edit45 = FormatFixed(engine.point.Latitude, kReadoutDecimals, decimal_separator);
  page.Edit46 = FormatFixed(engine.point.Longitude, kReadoutDecimals, decimal_separator);
  return {};
}

}  // namespace tervela
