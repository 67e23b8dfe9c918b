#pragma once

#include <string>

#include "io/buffered_writer.h"
#include "maps/map_writer.h"

namespace tervela {

// A GeoJSON FeatureCollection (RFC 7946): one Point feature per converted
// point, its position as [longitude, latitude] in WGS84 degrees, its name
// and the coordinates as written in the run's files as string properties.
class GeoJsonWriter final : public MapWriter {
 public:
  explicit GeoJsonWriter(io::FileDescriptor file);

  Status Add(const TMapFeature& feature) override;
  Status Finish() override;

 private:
  io::BufferedWriter file_;
  std::string text_;  // the feature being formed, reused
  bool first_ = true;
};

}  // namespace tervela
