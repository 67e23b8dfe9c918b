#pragma once

// The texts of datum operations and their areas of use, for tervela-convert
// and the system dialog.

#include <optional>
#include <string>
#include <string_view>

#include "common/geographic_box.h"
#include "systems/operation_candidates.h"

namespace tervela {

// "accuracy 3 m", EPSG's accuracy to the millimetre, trailing zeros dropped;
// "accuracy unknown" where EPSG gives none.
std::string AccuracyText(const std::optional<double>& accuracy);

// "Germany - states of former West Germany onshore - ..., 47.27N 5.86E to
// 55.09N 13.84E": the area's name and bounding box, either when known;
// "unknown" for neither.
std::string AreaText(std::string_view name, const std::optional<TGeographicBox>& box);

// A line of --list-operations, tab-separated: code, name, method, "accuracy
// 3 m" (or "accuracy unknown"), AreaText, "holds the place" or "does not hold
// the place", and "covers 37% of the system's area".
std::string CandidateLine(const TOperationCandidate& candidate);

// A candidate as a choice: "EPSG:1777, Helmert, accuracy 3 m, holds the
// place: DHDN to WGS 84 (2)" ("translation"; no "holds the place" for an area
// that does not).
std::string CandidateSummary(const TOperationCandidate& candidate);

}  // namespace tervela
