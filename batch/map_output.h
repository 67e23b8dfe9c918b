#pragma once

#include <memory>
#include <span>
#include <string>
#include <vector>

#include "batch/point_file_conversion.h"
#include "batch/record_sink.h"
#include "maps/map_writer.h"
#include "maps/point_plot.h"

namespace tervela {

// The map files of one run (GeoJSON, KML, the picture of the points) and its
// DXF drawing and CSV table, each record written to them as one feature, in
// record order.
class MapOutput final : public RecordSink {
 public:
  // `grid_title`: the picture's title and the KML document's name.
  MapOutput(TConversionDirection direction, std::string grid_title);

  // True when `request` names any map file.
  static bool Wanted(const TFileConversion& request);

  // Loads what the map files of `request` need (Cairo, for a picture): a run
  // calls it before it opens any file, so that a missing library changes
  // nothing.
  static Status Prepare(const TFileConversion& request);

  // Takes the map files of `request`, opened in the order of MapFileNames.
  void Open(const TFileConversion& request, std::span<io::FileDescriptor> files);

  Status Written(const TWrittenRecord& record) override;
  bool WantsGridScale() const override;

  // Completes every file with the features it got, drawing the picture on
  // the grid whose false easting (metres) is `central_easting`, and closes
  // them; the first failure is reported once all are closed.
  Status Finish(double central_easting);

 private:
  TConversionDirection direction_;
  std::string grid_title_;
  std::vector<std::unique_ptr<MapWriter>> writers_;
  PointPlot* plot_ = nullptr;  // among `writers_`, or null
  std::uint64_t records_ = 0;  // the records written so far
};

// The names of the files MapOutput creates for `request`, in its order.
std::vector<std::string> MapFileNames(const TFileConversion& request);

}  // namespace tervela
