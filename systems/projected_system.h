#pragma once

// A local grid system filled from PROJ's database: a projected coordinate
// system named as PROJ names it ("EPSG:31467", or any authority PROJ knows)
// becomes a grid system (engine/grid_system.h) and its name.

#include <optional>
#include <string>
#include <string_view>

#include <vector>

#include "common/geographic_box.h"
#include "common/result.h"
#include "engine/engine.h"
#include "systems/operation_candidates.h"

namespace tervela {

// A datum transformation to WGS 84 taken from PROJ's database.
struct TDatumOperation {
  std::string code;  // "EPSG:1777"; empty for one without a code (WGS 84 itself)
  std::string name;  // "DHDN to WGS 84 (2)"
  std::optional<double> accuracy;  // EPSG's accuracy of the transformation [m], when given
  std::string area{};                   // the name of its area of use; empty for WGS 84 itself
  std::optional<TGeographicBox> box{};  // the bounding box of that area, when known
  TOperationUse use = TOperationUse::AsPublished;
  // A derived translation: the place it is exact at, and the largest
  // distance [m] from the Helmert transformation at the corners of the
  // system's area of use.
  TGeographicPoint derived_at{};
  double derived_accuracy = 0;
};

// What the user asks of the operations: the place the system is used at (its
// whole area of use when not given), and a candidate's code for either shift
// (empty: chosen by the rule; a code that is not a candidate of the system
// is left to the caller, which refuses it unless another system took it).
struct TOperationChoice {
  std::optional<TGeographicPoint> near;
  std::string three_parameter, seven_parameter;
};

struct TProjectedSystem {
  std::string code;  // as asked
  std::string name;  // the system's name in PROJ's database
  // The latitude of origin is folded into the projection's false northing.
  TGridSystem grid;
  // The operations the two shifts were filled from; where the place has no
  // operation of a shift's own kind, one of the other kind stands in
  // (TOperationUse).
  std::optional<TDatumOperation> three_parameter;
  std::optional<TDatumOperation> seven_parameter;
  // Every candidate for the shifts, in PROJ's order, judged for the place.
  std::vector<TOperationCandidate> operations;
  std::optional<TGeographicBox> area;  // the system's area of use, when known
};

// Fills a system from PROJ, its shifts from the operations `choice` asks for
// or ChooseOperations picks for its place. Refused with
// Error::SystemRefused, naming `code`:
// a code PROJ does not know, a system that is not projected, a projection
// other than Transverse Mercator (south-oriented included), axes that are not
// east and north in metres, a prime meridian other than Greenwich, and a
// datum with no transformation to WGS 84 that works without a grid.
Result<TProjectedSystem> FillFromProj(std::string_view code, const TOperationChoice& choice = {});

}  // namespace tervela
