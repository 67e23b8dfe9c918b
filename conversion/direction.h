#pragma once

#include <array>
#include <string_view>

#include "settings/settings_record.h"

namespace tervela {

// The six conversion directions, one per radio button.
enum class TConversionDirection { WgsToA, WgsToB, AToWgs, BToWgs, AToB, BToA };

// True for WgsToA and WgsToB.
constexpr bool FromWgs(TConversionDirection d) {
  return d == TConversionDirection::WgsToA || d == TConversionDirection::WgsToB;
}
// True for AToWgs and BToWgs.
constexpr bool ToWgs(TConversionDirection d) {
  return d == TConversionDirection::AToWgs || d == TConversionDirection::BToWgs;
}
// True for AToB and BToA.
constexpr bool GridToGrid(TConversionDirection d) {
  return d == TConversionDirection::AToB || d == TConversionDirection::BToA;
}

// The system a conversion takes first.
constexpr TLocalSystem SourceSystem(TConversionDirection d) {
  switch (d) {
    case TConversionDirection::WgsToA:
    case TConversionDirection::AToWgs:
    case TConversionDirection::AToB: return TLocalSystem::A;
    default: return TLocalSystem::B;
  }
}

// The system read for the second leg of AToB (B) and BToA (A).
constexpr TLocalSystem TargetSystem(TConversionDirection d) {
  return d == TConversionDirection::AToB ? TLocalSystem::B : TLocalSystem::A;
}

// The unit captions of the input's and the output's north and east (UTF-8).
std::array<std::string_view, 4> UnitCaptions(TConversionDirection d);

}  // namespace tervela
