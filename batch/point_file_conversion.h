#pragma once

#include <string>

#include "common/result.h"
#include "conversion/direction.h"
#include "engine/engine.h"
#include "settings/record_systems.h"

namespace tervela {

// One "Convert File" request as the Conversion page gives it.
struct TFileConversion {
  TConversionDirection direction = TConversionDirection::WgsToA;
  TShiftMethod method = TShiftMethod::ThreeParameter;
  bool scripts = false;     // "Generate AutoCad scripts"
  std::string input_name;   // the point file, exactly as typed
  std::string output_name;  // the file written, exactly as typed
  // The map files to write beside the output; empty names none. The picture
  // is PNG for a name ending in ".png", else SVG.
  std::string geojson_name = {};
  std::string kml_name = {};
  std::string plot_name = {};
  // A DXF drawing of the points on the output's grid (refused for a run to
  // WGS84) and a CSV table of the records; empty names none.
  std::string dxf_name = {};
  std::string csv_name = {};
  // The CSV's operation column: the datum operations of the run's systems
  // that came from PROJ's database, or empty for no such column.
  std::string csv_operation = {};
};

// Converts the point file `request.input_name` into `request.output_name`
// (and the three drawing scripts and the map files when asked) between the
// systems of `systems`. The first failure ends the run with its Error; lines
// written before it are kept and every file opened is closed. A DXF drawing
// asked of a run to WGS84 is refused before anything is read.
Status ConvertPointFile(const TFileConversion& request, const TRecordSystems& systems);

}  // namespace tervela
