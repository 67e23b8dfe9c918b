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
  kAsEntered,        // metres, ratios, degrees, arc-seconds of corr.N/corr.E, Df x 10000
  kArcSeconds,       // rotations: held in radians, value / 648000 x pi
  kPartsPerMillion,  // K: held as a ratio, value / 1000000
};

struct Field {
  double TParameterSet::*member;
  Unit unit;
};

// The eighteen fields in the order of the settings page, Dx first, K last.
constexpr std::array<Field, kParameterCount> kFields = {{
    {&TParameterSet::Dx, Unit::kAsEntered},
    {&TParameterSet::Dy, Unit::kAsEntered},
    {&TParameterSet::Dz, Unit::kAsEntered},
    {&TParameterSet::Da, Unit::kAsEntered},
    {&TParameterSet::Df, Unit::kAsEntered},
    {&TParameterSet::CorrN, Unit::kAsEntered},
    {&TParameterSet::CorrE, Unit::kAsEntered},
    {&TParameterSet::ScaleFactor, Unit::kAsEntered},
    {&TParameterSet::FalseEasting, Unit::kAsEntered},
    {&TParameterSet::FalseNorthing, Unit::kAsEntered},
    {&TParameterSet::CentralMeridian, Unit::kAsEntered},
    {&TParameterSet::Tx, Unit::kAsEntered},
    {&TParameterSet::Ty, Unit::kAsEntered},
    {&TParameterSet::Tz, Unit::kAsEntered},
    {&TParameterSet::Rx, Unit::kArcSeconds},
    {&TParameterSet::Ry, Unit::kArcSeconds},
    {&TParameterSet::Rz, Unit::kArcSeconds},
    {&TParameterSet::K, Unit::kPartsPerMillion},
}};

// clang-format off
double Held(double entered, Unit unit) {
  switch (unit) {
    case Unit::kAsEntered: return entered;
    case Unit::kArcSeconds: return entered / kArcSecondsPerHalfTurn * kPi;
    case Unit::kPartsPerMillion: return entered / kPartsPerMillion;
  }
  return entered;
}

// clang-format on
}  // namespace

Status ReadParameterSet(std::span<const std::string, kParameterCount> texts, char decimal_separator,
                        TParameterSet& set) {
  for (std::size_t i = 0; i < kFields.size(); ++i) {
    const Result<double> entered = ParseTypedNumber(texts[i], decimal_separator);
    if (!entered.ok()) return entered.error();
    set.*kFields[i].member = Held(entered.value(), kFields[i].unit);
  }
  return {};
}

}  // namespace tervela
