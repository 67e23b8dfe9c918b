#pragma once

#include <string>

#include "io/buffered_writer.h"
#include "maps/map_writer.h"

namespace tervela {

// A DXF R12 drawing (ASCII) of the points on their grid, holding what the
// three drawing scripts hold, each on a layer of its own: on POINTS a POINT at
// (easting, northing), on POINT_TEXTS the record's text there at height 5,
// on POINT_NUMBERS its number 4 units below at height 3. Grid metres, to
// 0.1 mm.
class DxfWriter final : public MapWriter {
 public:
  explicit DxfWriter(io::FileDescriptor file);

  Status Add(const TMapFeature& feature) override;
  Status Finish() override;

 private:
  io::BufferedWriter file_;
  std::string header_;  // written before the first entity or at Finish
  std::string text_;    // the entities being formed, reused
};

}  // namespace tervela
