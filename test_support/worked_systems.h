#pragma once

// The parameter sets the worked examples convert with, as the eighteen texts
// of a system on the Settings page (Dx first, K last), for the tests of
// every module that converts.

#include <array>

namespace tervela::testing {

using SystemTexts = std::array<const char*, 18>;

// Both shifts filled in (each method ignores the other's values): the
// three-parameter shift Dx 100, Dy -50, Dz 80, Da 739.845, Df 0.10037483 and
// the seven-parameter shift Tx 100, Ty -50, Tz 80, Rx 1, Ry -2, Rz 3, K 5;
// scale 0.9999, false easting 500000, false northing 0, central meridian 15.
// clang-format off
inline constexpr SystemTexts kWorkedSystem = {
    "100", "-50", "80", "739.845", "0.10037483", "0", "0",
    "0.9999", "500000", "0", "15",
    "100", "-50", "80", "1", "-2", "3", "5"};

// The same projection without any shift, on the WGS84 ellipsoid.
inline constexpr SystemTexts kZeroShiftSystem = {
    "0", "0", "0", "0", "0", "0", "0",
    "0.9999", "500000", "0", "15",
    "0", "0", "0", "0", "0", "0", "0"};
// clang-format on

}  // namespace tervela::testing
