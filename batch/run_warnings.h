#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/geographic_box.h"
#include "conversion/point_converter.h"

namespace tervela {

// What a run tells of the points it converted once it ends, each kind
// counted over the whole run.
enum class TRunWarning {
  // Beyond 6 degrees of a grid's central meridian the projection's series
  // lose accuracy (README, "Accuracy").
  FarFromCentralMeridian,
  // Outside the area of use of the datum operation a grid's shift was filled
  // from, that operation may be metres off (README, "Systems from PROJ").
  OutsideOperationAreaA,
  OutsideOperationAreaB,
};
inline constexpr std::size_t kRunWarningKinds = 3;

// The area of use of the datum operation behind a grid's shift.
struct TOperationArea {
  std::string description;  // "EPSG:1777 DHDN to WGS 84 (2): Germany - ..., 47.27N 5.86E to 55.09N 13.84E"
  TGeographicBox box;
};

class RunWarnings {
 public:
  // Counts the points converted on `system` that lie outside `area`, from
  // now on; a grid not watched counts none.
  void Watch(TLocalSystem system, TOperationArea area);
  // The same areas watched, nothing counted yet.
  RunWarnings Watching() const;

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
  std::array<std::optional<TOperationArea>, 2> areas_;  // of grid A and B
};

}  // namespace tervela
