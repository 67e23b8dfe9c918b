#include "systems/operation_texts.h"

#include <cmath>

#include "common/number_text.h"

namespace tervela {

std::string AccuracyText(const std::optional<double>& accuracy) {
  if (!accuracy) return "accuracy unknown";
  return "accuracy " + FormatTrimmed(*accuracy, 3, '.') + " m";
}

std::string AreaText(std::string_view name, const std::optional<TGeographicBox>& box) {
  if (!box) return name.empty() ? "unknown" : std::string(name);
  // EPSG's names mostly end with a full stop, which the box follows.
  if (name.ends_with('.')) name.remove_suffix(1);
  return name.empty() ? BoxText(*box) : std::string(name) + ", " + BoxText(*box);
}

std::string CandidateLine(const TOperationCandidate& candidate) {
  // Whole percents, but never 100% for an area that does not cover all.
  const double percent = std::floor(candidate.share * 100);
  return candidate.code + "\t" + candidate.name + "\t" + candidate.method + "\t" +
         AccuracyText(candidate.accuracy) + "\t" + AreaText(candidate.area, candidate.box) + "\t" +
         (candidate.holds_place ? "holds the place" : "does not hold the place") + "\tcovers " +
         FormatFixed(percent, 0, '.') + "% of the system's area";
}

std::string CandidateSummary(const TOperationCandidate& candidate) {
  return candidate.code + (candidate.translation ? ", translation, " : ", Helmert, ") +
         AccuracyText(candidate.accuracy) + (candidate.holds_place ? ", holds the place: " : ": ") + candidate.name;
}

}  // namespace tervela
