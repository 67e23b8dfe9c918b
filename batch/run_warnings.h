#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "conversion/point_converter.h"

namespace tervela {

// What a run tells of the points it converted once it ends, each kind
// counted over the whole run.
enum class TRunWarning {
  // Beyond 6 degrees of a grid's central meridian the projection's series
  // lose accuracy (README, "Accuracy").
  FarFromCentralMeridian,
};
inline constexpr std::size_t kRunWarningKinds = 1;

class RunWarnings {
 public:
  // Counts what `point`, converted by `converter`, calls for.
  void Judge(const PointConverter& converter, const TWorkingPoint& point);
  void Add(const RunWarnings& other);
  void Clear() { counts_ = {}; }
  std::uint64_t Count(TRunWarning kind) const { return counts_[static_cast<std::size_t>(kind)]; }

  // One sentence for each kind that counted a point, in the order of
  // TRunWarning: how many points and what holds for them.
  std::vector<std::string> Texts() const;

 private:
  std::array<std::uint64_t, kRunWarningKinds> counts_{};
};

}  // namespace tervela
