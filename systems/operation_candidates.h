#pragma once

// The datum operations from a system's datum to WGS 84 that a grid system can
// hold, as found in PROJ's database: geocentric translations and Helmert
// transformations that need no grid, each with its area of use and how that
// area meets the place the system is wanted for.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/geographic_box.h"
#include "systems/derived_translation.h"

namespace tervela {

struct TOperationCandidate {
  std::string code;    // "EPSG:1777"
  std::string name;    // "DHDN to WGS 84 (2)"
  std::string method;  // PROJ's name of the method, "Position Vector transformation (geog2D domain)"
  std::optional<double> accuracy;  // EPSG's [m], when given
  std::string area;                // the name of its area of use
  std::optional<TGeographicBox> box;  // the bounding box of that area, when known
  bool translation = false;  // a geocentric translation, else a Helmert transformation
  systems_internal::THelmertParameters parameters;
  // Whether the area holds the place: the point asked for, else the system's
  // whole area of use.
  bool holds_place = false;
  // The share of the system's area of use the area covers, 0 to 1.
  double share = 0;
};

// Sets holds_place and share of each candidate for a system used over
// `system_area` (none when the database gives none), near `near` when given.
void JudgeCandidates(std::vector<TOperationCandidate>& candidates,
                     const std::optional<TGeographicBox>& system_area,
                     const std::optional<TGeographicPoint>& near);

// How a shift stands for the operation it was filled from.
enum class TOperationUse {
  AsPublished,
  // A translation as the seven-parameter shift: zero rotations and scale.
  TranslationOnly,
  // The translation a Helmert transformation gives at the place's centre, as
  // the three-parameter shift.
  Derived,
};

struct TChosenOperation {
  std::size_t candidate;  // its index
  TOperationUse use;
};

struct TChosenOperations {
  std::optional<TChosenOperation> three_parameter, seven_parameter;  // none without candidates
};

// The operation of each shift among judged `candidates`: the one coded
// `three_code` or `seven_code` when that is a candidate, else by the rule
// (README, "Systems from PROJ"): the areas that hold the place first, and
// among them the shift's own kind (translations for the three-parameter
// shift, Helmert transformations for the seven); then the largest share of
// the system's area, the shift's own kind, EPSG's accuracy, PROJ's order (at
// a place given and held: accuracy before share). A shift of the other kind
// than its own takes the other shift's operation when that is of that kind:
// a three-parameter shift derived from a Helmert transformation derives from
// the seven-parameter shift's, a seven-parameter shift from a translation is
// the three-parameter shift's.
TChosenOperations ChooseOperations(const std::vector<TOperationCandidate>& candidates, bool place_given,
                                   std::string_view three_code, std::string_view seven_code);

}  // namespace tervela
