#include "batch/run_warnings.h"

namespace tervela {

namespace {

// The distance from the central meridian beyond which a point is counted.
constexpr double kFarFromCentralMeridian = 6;

// What holds for the points of each kind, after "N points lie", indexed by
// TRunWarning; an area's kind goes on with the area watched.
constexpr std::array<const char*, kRunWarningKinds> kTexts = {
    " beyond 6\u00B0 of the central meridian, where the projection is accurate to about "
    "3.3 cm at 7\u00B0, 40 cm at 10\u00B0 and 6.9 m at 15\u00B0",
    " outside the area of use of the datum operation of TM - A, ",
    " outside the area of use of the datum operation of TM - B, ",
};

constexpr std::size_t kFirstAreaKind = static_cast<std::size_t>(TRunWarning::OutsideOperationAreaA);

}  // namespace

void RunWarnings::Watch(TLocalSystem system, TOperationArea area) {
  areas_[system == TLocalSystem::A ? 0 : 1] = std::move(area);
}

RunWarnings RunWarnings::Watching() const {
  RunWarnings watching;
  watching.areas_ = areas_;
  return watching;
}

void RunWarnings::Judge(const PointConverter& converter, const TWorkingPoint& point) {
  if (converter.DegreesFromCentralMeridian(point) > kFarFromCentralMeridian) {
    ++counts_[static_cast<std::size_t>(TRunWarning::FarFromCentralMeridian)];
  }
  // The latitude and longitude the point ends with, on WGS 84 or on the
  // grid's datum: an area of use is drawn to a few kilometres.
  for (std::size_t i = 0; i < areas_.size(); ++i) {
    if (areas_[i] && !Holds(areas_[i]->box, {point.Latitude, point.Longitude})) ++counts_[kFirstAreaKind + i];
  }
}

void RunWarnings::Add(const RunWarnings& other) {
  for (std::size_t i = 0; i < counts_.size(); ++i) counts_[i] += other.counts_[i];
}

std::vector<std::string> RunWarnings::Texts() const {
  std::vector<std::string> texts;
  for (std::size_t i = 0; i < counts_.size(); ++i) {
    if (counts_[i] == 0) continue;
    const char* const verb = counts_[i] == 1 ? " point lies" : " points lie";
    std::string text = std::to_string(counts_[i]) + verb + kTexts[i];
    if (i >= kFirstAreaKind) text += areas_[i - kFirstAreaKind]->description;
    texts.push_back(std::move(text));
  }
  return texts;
}

}  // namespace tervela
