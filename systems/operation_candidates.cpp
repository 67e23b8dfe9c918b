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
  TChosenOperations chosen;
  std::optional<std::size_t> seven = Coded(candidates, seven_code);
  if (!seven) seven = Best(candidates, false, place_given);
  if (seven) {
    chosen.seven_parameter = {*seven, candidates[*seven].translation ? TOperationUse::TranslationOnly
                                                                     : TOperationUse::AsPublished};
  }
  std::optional<std::size_t> three = Coded(candidates, three_code);
  if (!three) {
    three = Best(candidates, true, place_given);
    if (three && !candidates[*three].translation && seven && !candidates[*seven].translation) three = seven;
  }
  if (three) {
    chosen.three_parameter = {*three, candidates[*three].translation ? TOperationUse::AsPublished
                                                                     : TOperationUse::Derived};
  }
  return chosen;
}

}  // namespace tervela
