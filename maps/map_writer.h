#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "common/result.h"

namespace tervela {

// A coordinate as written in a run's files, under the name a map gives it
// ("input_latitude").
struct TMapProperty {
  std::string_view label;  // ASCII letters, digits and '_'
  std::string_view text;   // bytes as read or written
};

// One converted point as the map files and the picture take it.
struct TMapFeature {
  std::string_view name;  // the record's text, trimmed; bytes in no encoding
  double latitude = 0;    // WGS84, degrees north
  double longitude = 0;   // WGS84, degrees east
  double northing = 0;    // metres on the grid the picture is drawn on
  double easting = 0;     // metres on that grid
  std::array<TMapProperty, 4> properties;  // the input's two, then the output's two
  std::uint64_t number = 0;  // the record's number, 1 for the first, as the numbering script has it
  // Grid convergence [degrees] and point scale factor at (northing, easting),
  // where a writer asks for them (MapWriter::WantsGridScale).
  double convergence = 0, scale_factor = 0;
};

// A map file written feature by feature, in record order. Every file stays
// open until Finish(), which completes it so that a parser accepts it
// whatever number of features it got.
class MapWriter {
 public:
  virtual ~MapWriter() = default;
  virtual Status Add(const TMapFeature& feature) = 0;
  // Writes what ends the file and closes it; the first failure is reported
  // and the file is closed either way.
  virtual Status Finish() = 0;
  // Whether Add needs the feature's convergence and scale factor.
  virtual bool WantsGridScale() const { return false; }
};

// The decimals of a map position: 1e-10 degrees is about 0.01 mm.
inline constexpr int kPositionDecimals = 10;

}  // namespace tervela
