#pragma once

// A local grid system as the eighteen numbers of the Settings page, in its
// order and units, and as the engine's typed system (engine/grid_system.h).

#include <array>
#include <cstddef>

#include "common/result.h"
#include "engine/grid_system.h"
#include "settings/settings_record.h"

namespace tervela {

// The eighteen fields in the order of the Settings page and the record.
enum class TSystemField : std::size_t {
  Dx, Dy, Dz, Da, Df, CorrN, CorrE,
  ScaleFactor, FalseEasting, FalseNorthing, CentralMeridian,
  Tx, Ty, Tz, Rx, Ry, Rz, K,
};

// The eighteen numbers of a system as the Settings page shows them: Dx, Dy,
// Dz, Da [m], Df (the flattening difference times 10000), corr.N, corr.E
// [arc-seconds], the scale factor, the false easting and northing [m], the
// central meridian [degrees east], Tx, Ty, Tz [m], Rx, Ry, Rz [arc-seconds,
// coordinate frame], K [parts per million]; indexed by TSystemField.
class TSystemValues {
 public:
  double& operator[](TSystemField field) { return values_[static_cast<std::size_t>(field)]; }
  double operator[](TSystemField field) const { return values_[static_cast<std::size_t>(field)]; }

 private:
  std::array<double, kSystemTextCount> values_{};
};

// Parses the eighteen texts of a system with `decimal_separator` into
// `values`, Dx first and K last. The first text that is not a number (or
// too large for a double) stops the read: the values before it are filled,
// it and those after it keep what they held, and the error's line is that
// text's (1 for Dx).
Status ReadSystemValues(TSystemTexts texts, char decimal_separator, TSystemValues& values);

// The system the numbers describe: rotations taken from arc-seconds to
// radians (x / 648000 x pi), K from parts per million to a ratio and Df from
// its ten-thousandfold to a ratio (each divided), every other number as it
// is.
TGridSystem GridSystemOf(const TSystemValues& values);

// The numbers the Settings page shows for `system`: the units turned back.
TSystemValues SettingsPageValues(const TGridSystem& system);

// ReadSystemValues then GridSystemOf.
Result<TGridSystem> ReadGridSystem(TSystemTexts texts, char decimal_separator);

}  // namespace tervela
