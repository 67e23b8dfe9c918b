// A system's eighteen Settings-page numbers, read from their texts and turned
// into the engine's typed system and back.

#include "settings/system_values.h"

#include <numbers>

#include "common/number_text.h"

namespace tervela {

namespace {

// How a number of the Settings page becomes the value the engine's system
// holds.
enum class Unit {
  AsEntered,        // metres, ratios, degrees, arc-seconds of corr.N and corr.E
  ArcSeconds,       // Rx, Ry, Rz: radians
  PartsPerMillion,  // K: a ratio
  TenThousandths,   // Df: the flattening difference itself
};

// The unit of each field, in the order of TSystemField.
// clang-format off
constexpr std::array<Unit, kSystemTextCount> kUnits = {
    Unit::AsEntered, Unit::AsEntered, Unit::AsEntered,                        // Dx Dy Dz
    Unit::AsEntered, Unit::TenThousandths, Unit::AsEntered, Unit::AsEntered,  // Da Df corr.N corr.E
    Unit::AsEntered, Unit::AsEntered, Unit::AsEntered, Unit::AsEntered,       // projection
    Unit::AsEntered, Unit::AsEntered, Unit::AsEntered,                        // Tx Ty Tz
    Unit::ArcSeconds, Unit::ArcSeconds, Unit::ArcSeconds,                     // Rx Ry Rz
    Unit::PartsPerMillion,                                                    // K
};
// clang-format on

constexpr double kArcSecondsPerHalfTurn = 648000.0;  // 180 x 3600
constexpr double kPartsPerMillion = 1000000.0;
constexpr double kTenThousand = 10000.0;

Unit UnitOf(TSystemField field) { return kUnits[static_cast<std::size_t>(field)]; }

// clang-format off
double Held(double entered, Unit unit) {
  switch (unit) {
    case Unit::AsEntered: return entered;
    case Unit::ArcSeconds: return entered / kArcSecondsPerHalfTurn * std::numbers::pi;
    case Unit::PartsPerMillion: return entered / kPartsPerMillion;
    case Unit::TenThousandths: return entered / kTenThousand;
  }
  return entered;
}

double Entered(double held, Unit unit) {
  switch (unit) {
    case Unit::AsEntered: return held;
    case Unit::ArcSeconds: return held * (kArcSecondsPerHalfTurn / std::numbers::pi);
    case Unit::PartsPerMillion: return held * kPartsPerMillion;
    case Unit::TenThousandths: return held * kTenThousand;
  }
  return held;
}
// clang-format on

}  // namespace

Status ReadSystemValues(TSystemTexts texts, char decimal_separator, TSystemValues& values) {
  for (std::size_t i = 0; i < texts.size(); ++i) {
    const Result<double> entered = ParseTypedNumber(texts[i], decimal_separator);
    if (!entered.ok()) return entered.error().At({}, i + 1);
    values[static_cast<TSystemField>(i)] = entered.value();
  }
  return {};
}

TGridSystem GridSystemOf(const TSystemValues& values) {
  const auto held = [&values](TSystemField field) { return Held(values[field], UnitOf(field)); };
  using F = TSystemField;
  return TGridSystem{
      TEllipsoid(held(F::Da), held(F::Df)),
      TTransverseMercator(held(F::ScaleFactor), held(F::FalseEasting), held(F::FalseNorthing),
                          held(F::CentralMeridian)),
      TMolodenskyShift({held(F::Dx), held(F::Dy), held(F::Dz)}, held(F::CorrN), held(F::CorrE)),
      THelmertShift({held(F::Tx), held(F::Ty), held(F::Tz)}, {held(F::Rx), held(F::Ry), held(F::Rz)},
                    held(F::K)),
  };
}

TSystemValues SettingsPageValues(const TGridSystem& system) {
  using F = TSystemField;
  TSystemValues values;
  const auto put = [&values](TSystemField field, double held) {
    values[field] = Entered(held, UnitOf(field));
  };
  const std::array<double, 3>& translation = system.molodensky.translation();
  put(F::Dx, translation[0]);
  put(F::Dy, translation[1]);
  put(F::Dz, translation[2]);
  put(F::Da, system.ellipsoid.da());
  put(F::Df, system.ellipsoid.df());
  put(F::CorrN, system.molodensky.corr_n());
  put(F::CorrE, system.molodensky.corr_e());
  put(F::ScaleFactor, system.projection.scale_factor());
  put(F::FalseEasting, system.projection.false_easting());
  put(F::FalseNorthing, system.projection.false_northing());
  put(F::CentralMeridian, system.projection.central_meridian());
  put(F::Tx, system.helmert.translation()[0]);
  put(F::Ty, system.helmert.translation()[1]);
  put(F::Tz, system.helmert.translation()[2]);
  put(F::Rx, system.helmert.rotation()[0]);
  put(F::Ry, system.helmert.rotation()[1]);
  put(F::Rz, system.helmert.rotation()[2]);
  put(F::K, system.helmert.scale_difference());
  return values;
}

Result<TGridSystem> ReadGridSystem(TSystemTexts texts, char decimal_separator) {
  TSystemValues values;
  if (Status read = ReadSystemValues(texts, decimal_separator, values); !read) return read.error();
  return GridSystemOf(values);
}

}  // namespace tervela
