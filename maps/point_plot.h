#pragma once

#include <string>
#include <vector>

#include "io/buffered_writer.h"
#include "maps/far_points.h"
#include "maps/map_writer.h"

namespace tervela {

enum class TPlotFormat { Svg, Png };

// The grid a picture is drawn on.
struct TPlotGrid {
  std::string title;             // the system's name, bytes as typed
  double central_easting = 0;    // metres: the easting of the central meridian (the false easting)
};

// A picture of a run's points on their grid, drawn with Cairo once the run
// ends: easting and northing lines with their values, the central meridian,
// a scale bar, a north arrow, the points, and a ring with its name around each
// point standing far apart from the others (far_points.h). North is up, and
// one metre is as long east as north.
class PointPlot final : public MapWriter {
 public:
  // The picture is `kWidth` x `kHeight` pixels (SVG: points) in `format`.
  static constexpr int kWidth = 800;
  static constexpr int kHeight = 640;

  // Loads Cairo, which drawing needs; a run that asks for a picture calls it
  // before it creates any file, so that a missing library changes nothing.
  static Status LoadCairo();

  PointPlot(io::FileDescriptor file, TPlotFormat format, TPlotGrid grid);

  // Keeps the point's grid position, and its name while few points are kept.
  Status Add(const TMapFeature& feature) override;
  // The grid to draw on, when it is known only after the points.
  void SetGrid(TPlotGrid grid) { grid_ = std::move(grid); }
  // Draws the picture and writes it.
  Status Finish() override;

  // The format a picture file name asks for: PNG for a name ending in ".png"
  // (any case), else SVG.
  static TPlotFormat FormatForName(std::string_view name);

 private:
  io::BufferedWriter file_;
  TPlotFormat format_;
  TPlotGrid grid_;
  std::vector<TGridPoint> points_;
  std::vector<std::string> names_;  // of the first kNamedPoints points
};

}  // namespace tervela
