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
};

// The position of a record read as (`first`, `second`) from the tokens
// `first_token`, `second_token` and converted into `converted`. WGS84 is the
// input's position from WGS84, the converted one to WGS84, and the one
// between the two legs of a grid-to-grid direction (inverted again here: the
// second leg overwrites it). The grid is the one the direction's local
// system last taken describes: the output's, or the input's for a run to
// WGS84. Needs `converter.Ready()`.
Result<TRecordPosition> PositionOf(const PointConverter& converter, std::string_view first_token,
                                   std::string_view second_token, double first, double second,
                                   const TWorkingPoint& converted);

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
};

}  // namespace tervela
