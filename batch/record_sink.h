#pragma once

#include <string_view>

#include "common/result.h"
#include "conversion/point_converter.h"

namespace tervela {

// Where a converted record lies: its input's number texts, its WGS84
// position and its place on the grid of the run.
struct TRecordPosition {
  std::string_view first, second;       // the input's two number tokens
  double latitude = 0, longitude = 0;   // WGS84, degrees
  double northing = 0, easting = 0;     // metres on the grid of the run
  // Grid convergence [degrees] and point scale factor there, for a sink that
  // wants them (RecordSink::WantsGridScale), else 0.
  double convergence = 0, scale_factor = 0;
};

// The position of a record read as (`first`, `second`) from the tokens
// `first_token`, `second_token`, converted in `direction` into `converted`
// with the WGS84 position `wgs84` (PointConverter::Convert). The grid is the
// one the direction's local system last taken describes: the output's, or
// the input's for a run to WGS84.
TRecordPosition PositionOf(TConversionDirection direction, std::string_view first_token,
                           std::string_view second_token, double first, double second,
                           const TWorkingPoint& converted, const TWgs84Position& wgs84);

// A record whose lines were all written.
struct TWrittenRecord {
  TRecordPosition position;
  std::string_view output_fields;  // the output line before the free text
  std::string_view free_text;      // the free text without CRs
};

// Told each record a run writes, in record order, on the thread that writes
// the output, once every line of the record is written.
class RecordSink {
 public:
  virtual ~RecordSink() = default;
  virtual Status Written(const TWrittenRecord& record) = 0;
  // Whether the records told need their grid convergence and scale factor,
  // which cost a computation of their own.
  virtual bool WantsGridScale() const { return false; }
};

}  // namespace tervela
