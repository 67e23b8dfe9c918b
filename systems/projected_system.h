#pragma once

// A local grid system filled from PROJ's database: a projected coordinate
// system named as PROJ names it ("EPSG:31467", or any authority PROJ knows)
// becomes a grid system (engine/grid_system.h) and its name.

#include <optional>
#include <string>
#include <string_view>

#include "common/result.h"
#include "engine/engine.h"

namespace tervela {

// A datum transformation to WGS 84 taken from PROJ's database.
struct TDatumOperation {
  std::string code;  // "EPSG:1777"; empty for one without a code (WGS 84 itself)
  std::string name;  // "DHDN to WGS 84 (2)"
  std::optional<double> accuracy;  // EPSG's accuracy of the transformation [m], when given
};

struct TProjectedSystem {
  std::string code;  // as asked
  std::string name;  // the system's name in PROJ's database
  // The latitude of origin is folded into the projection's false northing;
  // a shift the database has no operation for is zero.
  TGridSystem grid;
  // The operations the two shifts were filled from; none where the database
  // has no such operation.
  std::optional<TDatumOperation> three_parameter;
  std::optional<TDatumOperation> seven_parameter;
};

// Fills a system from PROJ. Refused with Error::SystemRefused, naming `code`:
// a code PROJ does not know, a system that is not projected, a projection
// other than Transverse Mercator (south-oriented included), axes that are not
// east and north in metres, a prime meridian other than Greenwich, and a
// datum with no transformation to WGS 84 that works without a grid.
Result<TProjectedSystem> FillFromProj(std::string_view code);

}  // namespace tervela
