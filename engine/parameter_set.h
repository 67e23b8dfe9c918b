#pragma once

#include <span>
#include <string>

#include "common/result.h"

namespace tervela {

// The eighteen numbers of one local system, in the order they are typed, and
// its display name. Rx, Ry, Rz are held in radians and K as a ratio; every
// other field is held as typed (Df is the flattening difference times 10000).
struct TParameterSet {
  double Dx = 0, Dy = 0, Dz = 0;
  double Da = 0, Df = 0;
  double CorrN = 0, CorrE = 0;
  double ScaleFactor = 0, FalseEasting = 0, FalseNorthing = 0, CentralMeridian = 0;
  double Tx = 0, Ty = 0, Tz = 0;
  double Rx = 0, Ry = 0, Rz = 0;
  double K = 0;
  std::string Name;
};

inline constexpr int kParameterCount = 18;

// Fills `set` from the eighteen texts of one system, Dx first and K last,
// parsed with `decimal_separator`. Rotations are turned from arc-seconds into
// radians and K from parts per million into a ratio. The first text that is
// not a number stops the fill: the fields before it keep their new values, the
// rest their old ones, and the error's line is that text's number (1 for Dx).
// Name is not touched.
Status ReadParameterSet(std::span<const std::string, kParameterCount> texts,
                        char decimal_separator, TParameterSet& set);

}  // namespace tervela
