#include "batch/map_output.h"

#include <array>

#include "maps/csv_writer.h"
#include "maps/dxf_writer.h"
#include "maps/geojson_writer.h"
#include "maps/kml_writer.h"
#include "maps/map_text.h"

namespace tervela {

namespace {

// The names of the coordinates a direction reads and writes, input first.
std::array<std::string_view, 4> PropertyLabels(TConversionDirection direction) {
  if (FromWgs(direction)) return {"input_latitude", "input_longitude", "output_northing", "output_easting"};
  if (ToWgs(direction)) return {"input_northing", "input_easting", "output_latitude", "output_longitude"};
  return {"input_northing", "input_easting", "output_northing", "output_easting"};
}

// The first two blank-separated texts of an output line's fields.
std::array<std::string_view, 2> OutputTexts(std::string_view fields) {
  fields = TrimBlanks(fields);
  const std::size_t blank = fields.find(' ');
  if (blank == std::string_view::npos) return {fields, {}};
  return {fields.substr(0, blank), TrimBlanks(fields.substr(blank + 1))};
}

}  // namespace

MapOutput::MapOutput(TConversionDirection direction, std::string grid_title)
    : direction_(direction), grid_title_(std::move(grid_title)) {}

bool MapOutput::Wanted(const TFileConversion& request) {
  return !MapFileNames(request).empty();
}

std::vector<std::string> MapFileNames(const TFileConversion& request) {
  std::vector<std::string> names;
  for (const std::string* name : {&request.geojson_name, &request.kml_name, &request.plot_name,
                                  &request.dxf_name, &request.csv_name}) {
    if (!name->empty()) names.push_back(*name);
  }
  return names;
}

Status MapOutput::Prepare(const TFileConversion& request) {
  return request.plot_name.empty() ? Status() : PointPlot::LoadCairo();
}

void MapOutput::Open(const TFileConversion& request, std::span<io::FileDescriptor> files) {
  auto next = files.begin();
  if (!request.geojson_name.empty()) {
    writers_.push_back(std::make_unique<GeoJsonWriter>(std::move(*next++)));
  }
  if (!request.kml_name.empty()) {
    writers_.push_back(std::make_unique<KmlWriter>(std::move(*next++), grid_title_));
  }
  if (!request.plot_name.empty()) {
    auto plot = std::make_unique<PointPlot>(
        std::move(*next++), PointPlot::FormatForName(request.plot_name), TPlotGrid{grid_title_, 0});
    plot_ = plot.get();
    writers_.push_back(std::move(plot));
  }
  if (!request.dxf_name.empty()) {
    writers_.push_back(std::make_unique<DxfWriter>(std::move(*next++)));
  }
  if (!request.csv_name.empty()) {
    writers_.push_back(
        std::make_unique<CsvWriter>(std::move(*next++), PropertyLabels(direction_), request.csv_operation));
  }
}

Status MapOutput::Written(const TWrittenRecord& record) {
  const TRecordPosition& position = record.position;
  const std::array<std::string_view, 4> labels = PropertyLabels(direction_);
  const std::array<std::string_view, 2> output = OutputTexts(record.output_fields);
  const TMapFeature feature{TrimBlanks(record.free_text),
                            position.latitude,
                            position.longitude,
                            position.northing,
                            position.easting,
                            {{{labels[0], position.first},
                              {labels[1], position.second},
                              {labels[2], output[0]},
                              {labels[3], output[1]}}},
                            ++records_,
                            position.convergence,
                            position.scale_factor};
  for (const std::unique_ptr<MapWriter>& writer : writers_) {
    if (Status added = writer->Add(feature); !added) return added;
  }
  return {};
}

bool MapOutput::WantsGridScale() const {
  for (const std::unique_ptr<MapWriter>& writer : writers_) {
    if (writer->WantsGridScale()) return true;
  }
  return false;
}

Status MapOutput::Finish(double central_easting) {
  if (plot_) plot_->SetGrid({grid_title_, central_easting});
  Status first;
  for (const std::unique_ptr<MapWriter>& writer : writers_) {
    Status finished = writer->Finish();
    if (first.ok() && !finished.ok()) first = finished;
  }
  writers_.clear();
  plot_ = nullptr;
  return first;
}

}  // namespace tervela
