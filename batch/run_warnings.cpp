#include "batch/run_warnings.h"

namespace tervela {

namespace {

// The distance from the central meridian beyond which a point is counted.
constexpr double kFarFromCentralMeridian = 6;

// What holds for the points of each kind, after "N points lie", indexed by
// TRunWarning.
constexpr std::array<const char*, kRunWarningKinds> kTexts = {
    " beyond 6\u00B0 of the central meridian, where the projection is accurate to about "
    "3.3 cm at 7\u00B0, 40 cm at 10\u00B0 and 6.9 m at 15\u00B0",
};

}  // namespace

void RunWarnings::Judge(const PointConverter& converter, const TWorkingPoint& point) {
  if (converter.DegreesFromCentralMeridian(point) > kFarFromCentralMeridian) {
    ++counts_[static_cast<std::size_t>(TRunWarning::FarFromCentralMeridian)];
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
    texts.push_back(std::to_string(counts_[i]) + verb + kTexts[i]);
  }
  return texts;
}

}  // namespace tervela
