#include "maps/label_places.h"

#include <algorithm>

namespace tervela {

namespace {

// A label starts this far right (or ends this far left) of its point, its
// baseline this far above it.
constexpr double kGap = 7, kRaise = 6;
// The lines tried below and above the first: about the picture's height of
// labels, which the hundred labels a picture draws at most nearly fill.
constexpr int kMaxLinesAway = 24;
// The margin kept at the area's edges.
constexpr double kEdge = 2;

bool Overlap(const TPixelBox& a, const TPixelBox& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

}  // namespace

LabelPlaces::LabelPlaces(const TPixelBox& area, double line_height, double ascent, double descent)
    : area_(area), line_height_(line_height), ascent_(ascent), descent_(descent) {}

bool LabelPlaces::Free(const TPixelBox& box) const {
  if (box.left < area_.left + kEdge || box.right > area_.right - kEdge ||
      box.top < area_.top + kEdge || box.bottom > area_.bottom - kEdge) {
    return false;
  }
  return std::none_of(taken_.begin(), taken_.end(),
                      [&box](const TPixelBox& taken) { return Overlap(box, taken); });
}

std::optional<LabelPlaces::Baseline> LabelPlaces::Place(double x, double y, double width) {
  // 0, then 1, -1, 2, -2, ... lines down.
  for (int step = 0; step <= 2 * kMaxLinesAway; ++step) {
    const int lines = step % 2 == 1 ? (step + 1) / 2 : -step / 2;
    const double baseline = y - kRaise + lines * line_height_;
    for (const double left : {x + kGap, x - kGap - width}) {
      const TPixelBox box{left, baseline - ascent_, left + width, baseline + descent_};
      if (!Free(box)) continue;
      taken_.push_back(box);
      return Baseline{left, baseline};
    }
  }
  return std::nullopt;
}

}  // namespace tervela
