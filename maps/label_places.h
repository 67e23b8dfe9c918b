#pragma once

#include <optional>
#include <vector>

namespace tervela {

// A rectangle on a picture in pixels, y growing downwards.
struct TPixelBox {
  double left = 0, top = 0, right = 0, bottom = 0;
};

// Places point labels in an area of a picture so that none overlaps another,
// nor a box kept clear (the scale bar, the north arrow), nor leaves the area
// (and so covers no grid value in the margins): a label goes to the upper
// right of its point, or to the upper left, or, where both are taken (points
// at one place), a line further down or up, alternately.
class LabelPlaces {
 public:
  // The height of a line of labels and the ascent and descent of a label
  // above and below its baseline, in pixels.
  LabelPlaces(const TPixelBox& area, double line_height, double ascent, double descent);

  void KeepClear(const TPixelBox& box) { taken_.push_back(box); }

  // The start of the baseline of a label `width` pixels wide for the point
  // at (x, y), taken from then on; nothing when every place near the point is
  // taken.
  struct Baseline {
    double x, y;
  };
  std::optional<Baseline> Place(double x, double y, double width);

 private:
  bool Free(const TPixelBox& box) const;

  TPixelBox area_;
  double line_height_, ascent_, descent_;
  std::vector<TPixelBox> taken_;
};

}  // namespace tervela
