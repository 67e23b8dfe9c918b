#pragma once

#include <string>

#include "io/buffered_writer.h"
#include "maps/map_writer.h"

namespace tervela {

// An OGC KML 2.2 document: one Placemark per converted point with its name,
// the coordinates as written in the run's files as ExtendedData, and a Point
// at longitude,latitude in WGS84 degrees.
class KmlWriter final : public MapWriter {
 public:
  // `document_name`: the Document's name (bytes, escaped here).
  KmlWriter(io::FileDescriptor file, std::string_view document_name);

  Status Add(const TMapFeature& feature) override;
  Status Finish() override;

 private:
  io::BufferedWriter file_;
  std::string header_;  // written before the first placemark or at Finish
  std::string text_;    // the placemark being formed, reused
};

}  // namespace tervela
