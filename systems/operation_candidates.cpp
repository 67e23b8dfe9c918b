#include "systems/operation_candidates.h"

namespace tervela {

namespace {

// Whether `a` is a better operation than `b` for a shift whose own kind is a
// translation (`translations`) or a Helmert transformation.
bool Better(const TOperationCandidate& a, const TOperationCandidate& b, bool translations, bool place_given) {
  const bool own_a = a.translation == translations, own_b = b.translation == translations;
  if (a.holds_place != b.holds_place) return a.holds_place;
  if (a.holds_place && own_a != own_b) return own_a;
  // At a place given, the area that holds it with the better accuracy; else
  // the one that covers most of the system's area.
  const bool at_place = place_given && a.holds_place;
  if (!at_place && a.share != b.share) return a.share > b.share;
  if (own_a != own_b) return own_a;
  if (a.accuracy != b.accuracy) return a.accuracy && (!b.accuracy || *a.accuracy < *b.accuracy);
  return a.share > b.share;
}

std::optional<std::size_t> Best(const std::vector<TOperationCandidate>& candidates, bool translations,
                                bool place_given) {
  std::optional<std::size_t> best;
  for (std::size_t i = 0; i < candidates.size(); ++i) {
    if (!best || Better(candidates[i], candidates[*best], translations, place_given)) best = i;
  }
  return best;
}

std::optional<std::size_t> Coded(const std::vector<TOperationCandidate>& candidates, std::string_view code) {
  for (std::size_t i = 0; !code.empty() && i < candidates.size(); ++i) {
    if (candidates[i].code == code) return i;
  }
  return std::nullopt;
}

}  // namespace

void JudgeCandidates(std::vector<TOperationCandidate>& candidates,
                     const std::optional<TGeographicBox>& system_area,
                     const std::optional<TGeographicPoint>& near) {
  for (TOperationCandidate& candidate : candidates) {
    candidate.share = candidate.box && system_area ? SharedFraction(*candidate.box, *system_area) : 0;
    candidate.holds_place = near ? candidate.box && Holds(*candidate.box, *near) : candidate.share == 1;
  }
}

TChosenOperations ChooseOperations(const std::vector<TOperationCandidate>& candidates, bool place_given,
                                   std::string_view three_code, std::string_view seven_code) {
  const std::optional<std::size_t> three_coded = Coded(candidates, three_code);
  const std::optional<std::size_t> seven_coded = Coded(candidates, seven_code);
  std::optional<std::size_t> three = three_coded ? three_coded : Best(candidates, true, place_given);
  std::optional<std::size_t> seven = seven_coded ? seven_coded : Best(candidates, false, place_given);
  if (!three || !seven) return {};
  // A shift standing in with the other kind takes the other shift's operation.
  const bool three_translates = candidates[*three].translation, seven_translates = candidates[*seven].translation;
  if (!three_coded && !three_translates && !seven_translates) three = seven;
  if (!seven_coded && seven_translates && three_translates) seven = three;
  return {TChosenOperation{*three, candidates[*three].translation ? TOperationUse::AsPublished
                                                                  : TOperationUse::Derived},
          TChosenOperation{*seven, candidates[*seven].translation ? TOperationUse::TranslationOnly
                                                                  : TOperationUse::AsPublished}};
}

}  // namespace tervela
