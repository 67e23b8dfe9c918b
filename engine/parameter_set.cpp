// The parameter set of a local system, filled from the eighteen
// texts of its settings-page edits.

#include "engine/parameter_set.h"

#include <array>

#include "common/number_text.h"
#include "engine/geodetic_constants.h"

namespace tervela {

namespace {

using namespace geodesy;

// How a typed value becomes the value the engine holds.
enum class Unit {
  AsEntered,         // metres, ratios, degrees, arc-seconds of corr.N/corr.E, Df x 10000
  ArcSeconds,        // rotations: held in radians, value / 648000 x pi
  PartsPerMillion,   // K: held as a ratio, value / 1000000
};

struct Field {
  double TParameterSet::*member;
  Unit unit;
};

// The eighteen fields in the order of the settings page, Dx first, K last.
constexpr std::array<Field, kParameterCount> kFields = {{
    {&TParameterSet::Dx, Unit::AsEntered},
    {&TParameterSet::Dy, Unit::AsEntered},
    {&TParameterSet::Dz, Unit::AsEntered},
    {&TParameterSet::Da, Unit::AsEntered},
    {&TParameterSet::Df, Unit::AsEntered},
    {&TParameterSet::CorrN, Unit::AsEntered},
    {&TParameterSet::CorrE, Unit::AsEntered},
    {&TParameterSet::ScaleFactor, Unit::AsEntered},
    {&TParameterSet::FalseEasting, Unit::AsEntered},
    {&TParameterSet::FalseNorthing, Unit::AsEntered},
    {&TParameterSet::CentralMeridian, Unit::AsEntered},
    {&TParameterSet::Tx, Unit::AsEntered},
    {&TParameterSet::Ty, Unit::AsEntered},
    {&TParameterSet::Tz, Unit::AsEntered},
    {&TParameterSet::Rx, Unit::ArcSeconds},
    {&TParameterSet::Ry, Unit::ArcSeconds},
    {&TParameterSet::Rz, Unit::ArcSeconds},
    {&TParameterSet::K, Unit::PartsPerMillion},
}};

// clang-format off
double Held(double entered, Unit unit) {
  switch (unit) {
    case Unit::AsEntered: return entered;
    case Unit::ArcSeconds: return entered / kArcSecondsPerHalfTurn * kPi;
    case Unit::PartsPerMillion: return entered / kPartsPerMillion;
  }
  return entered;
}

// clang-format on
}  // namespace

Status ReadParameterSet(std::span<const std::string, kParameterCount> texts, char decimal_separator,
                        TParameterSet& set) {
  for (std::size_t i = 0; i < kFields.size(); ++i) {
    const Result<double> entered = ParseTypedNumber(texts[i], decimal_separator);
    if (!entered.ok()) return entered.error().At({}, i + 1);
    set.*kFields[i].member = Held(entered.value(), kFields[i].unit);
  }
  return {};
}

}  // namespace tervela
