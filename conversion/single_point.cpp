#include "conversion/single_point.h"

#include "common/number_text.h"
#include "conversion/grid_point_scale.h"
#include "conversion/point_converter.h"

namespace tervela {

namespace {

// Decimals of the window's outputs.
constexpr int kGridDecimals = 3;        // metres
constexpr int kReadoutDecimals = 6;     // the latitude and longitude readouts
constexpr int kGeographicDecimals = 8;  // WGS84 results

// Parses one text of the page into `target`; the first failure ends the request.
Status ParseInto(const std::string& text, char separator, double& target) {
  Result<double> value = ParseTypedNumber(text, separator);
  if (!value) return value.error();
  target = value.value();
  return {};
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

// The change readouts of WgsToA and WgsToB. The northing's change is written
// before the previous easting is read, so a bad previous easting leaves it
// changed.
Status WriteChangeReadouts(const TWorkingPoint& point, char separator, TConversionPage& page) {
  Result<std::string> northing_change = ChangeReadout(page.OutputNorth, point.Northing, separator);
  if (!northing_change) return northing_change.error();
  page.NorthingChange = northing_change.value();
  Result<std::string> easting_change = ChangeReadout(page.OutputEast, point.Easting, separator);
  if (!easting_change) return easting_change.error();
  page.EastingChange = easting_change.value();
  return {};
}

}  // namespace

Status ConvertData(TConversionDirection direction, TShiftMethod method,
                   const TRecordSystems& systems, char decimal_separator, TConversionPage& page) {
  PointConverter converter(direction, method, systems);
  double first = 0, second = 0;
  if (Status s = converter.TakeSourceSystem(); !s) return s;
  if (Status s = ParseInto(page.InputNorth, decimal_separator, first); !s) return s;
  if (Status s = ParseInto(page.InputEast, decimal_separator, second); !s) return s;

  TWorkingPoint point;
  if (Status converted = converter.ConvertReading(first, second, point); !converted) {
    return converted;
  }
  TGridScale scale;
  if (Status scaled = GridScaleOf(converter, point, scale); !scaled) return scaled;

  if (ToWgs(direction)) {
    page.OutputNorth = FormatFixed(point.Latitude, kGeographicDecimals, decimal_separator);
    page.OutputEast = FormatFixed(point.Longitude, kGeographicDecimals, decimal_separator);
  } else {
    if (FromWgs(direction)) {
      if (Status s = WriteChangeReadouts(point, decimal_separator, page); !s) return s;
    }
    page.OutputNorth = FormatFixed(point.Northing, kGridDecimals, decimal_separator);
    page.OutputEast = FormatFixed(point.Easting, kGridDecimals, decimal_separator);
  }
  page.LatitudeReadout = FormatFixed(point.Latitude, kReadoutDecimals, decimal_separator);
  page.LongitudeReadout = FormatFixed(point.Longitude, kReadoutDecimals, decimal_separator);
  page.Convergence = ConvergenceReadout(scale.Convergence, decimal_separator);
  page.ScaleFactor = ScaleFactorReadout(scale.ScaleFactor, decimal_separator);
  return {};
}

}  // namespace tervela
