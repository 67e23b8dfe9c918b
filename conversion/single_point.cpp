#include "conversion/single_point.h"

#include "common/number_text.h"
#include "conversion/point_converter.h"

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

// The change readout: the previous output minus the new one, in extended precision.
Result<std::string> ChangeReadout(const std::string& previous_text, double new_value,
                                  char separator) {
  Result<double> previous = ParseTypedNumber(previous_text, separator);
  if (!previous) return previous.error();
  const long double change =
      static_cast<long double>(previous.value()) - static_cast<long double>(new_value);
  return FormatFixed(change, kGridDecimals, separator);
}

// The change readouts of WgsToA and WgsToB. Label27 is written before Edit42
// is read, so a bad Edit42 leaves it changed.
Status WriteChangeReadouts(const TWorkingPoint& point, char separator, TConversionPage& page) {
  Result<std::string> northing_change = ChangeReadout(page.Edit41, point.Northing, separator);
  if (!northing_change) return northing_change.error();
  page.Label27 = northing_change.value();
  Result<std::string> easting_change = ChangeReadout(page.Edit42, point.Easting, separator);
  if (!easting_change) return easting_change.error();
  page.Label28 = easting_change.value();
  return {};
}

}  // namespace

Status ConvertData(TConversionDirection direction, TShiftMethod method,
                   const TRecordSystems& systems, char decimal_separator, TConversionPage& page) {
  PointConverter converter(direction, method, systems);
  double first = 0, second = 0;
  if (Status s = converter.TakeSourceSystem(); !s) return s;
  if (Status s = ParseInto(page.Edit39, decimal_separator, first); !s) return s;
  if (Status s = ParseInto(page.Edit40, decimal_separator, second); !s) return s;

  TWorkingPoint point;
  if (Status converted = converter.ConvertReading(first, second, point); !converted) {
    return converted;
  }

  if (ToWgs(direction)) {
    page.Edit41 = FormatFixed(point.Latitude, kGeographicDecimals, decimal_separator);
    page.Edit42 = FormatFixed(point.Longitude, kGeographicDecimals, decimal_separator);
  } else {
    if (FromWgs(direction)) {
      if (Status s = WriteChangeReadouts(point, decimal_separator, page); !s) return s;
    }
    page.Edit41 = FormatFixed(point.Northing, kGridDecimals, decimal_separator);
    page.Edit42 = FormatFixed(point.Easting, kGridDecimals, decimal_separator);
  }
  page.Edit45 = FormatFixed(point.Latitude, kReadoutDecimals, decimal_separator);
  page.Edit46 = FormatFixed(point.Longitude, kReadoutDecimals, decimal_separator);
  return {};
}

}  // namespace tervela
