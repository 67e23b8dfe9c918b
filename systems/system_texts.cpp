#include "systems/system_texts.h"

#include "common/number_text.h"
#include "systems/operation_texts.h"

namespace tervela {

const std::array<std::string_view, kSystemTextCount> kParameterCaptions = {
    "dx [m]",       "dy [m]",          "dz [m]",  "da [m]",  "df",     "corr.N [\"]",
    "corr.E [\"]",  "Scale Factor",    "False Easting [m]",  "False Northing [m]",
    "Central Meridian",  "Tx [m]",     "Ty [m]",  "Tz [m]",  "Rx [\"]", "Ry [\"]",
    "Rz [\"]",      "k [ppm]"};

namespace {

// Decimals per field: 1e-6 m for lengths, 1e-12 of Df (1e-16 of f), 1e-12 of
// scale and of a degree (0.1 um), 1e-8 arc-seconds and ppm.
constexpr std::array<int, kSystemTextCount> kDecimals = {6, 6,  6, 6, 12, 8, 8, 12, 6,
                                                        6, 12, 6, 6, 6,  8, 8, 8, 8};

}  // namespace

std::array<std::string, kSystemTextCount> SystemTexts(const TGridSystem& system,
                                                      char decimal_separator) {
  const TSystemValues values = SettingsPageValues(system);
  std::array<std::string, kSystemTextCount> texts;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    texts[i] = FormatTrimmed(values[static_cast<TSystemField>(i)], kDecimals[i], decimal_separator);
  }
  return texts;
}

TGridSystem AsShown(const TGridSystem& system) {
  TSystemValues values = SettingsPageValues(system);
  for (std::size_t i = 0; i < kSystemTextCount; ++i) {
    const TSystemField field = static_cast<TSystemField>(i);
    values[field] = RoundToDecimals(values[field], kDecimals[i]);
  }
  return GridSystemOf(values);
}

void PutSystem(const TProjectedSystem& system, TLocalSystem target, char decimal_separator,
               TSettingsTexts& settings) {
  PutSystemTexts(settings, target, SystemTexts(system.grid, decimal_separator), system.name);
}

std::string OperationText(const std::optional<TDatumOperation>& operation) {
  if (!operation) return "none";
  const std::string described = operation->name + ", " + AccuracyText(operation->accuracy);
  const std::string code = operation->code.empty() ? "" : operation->code + " ";
  switch (operation->use) {
    case TOperationUse::AsPublished: break;
    case TOperationUse::TranslationOnly: return code + described + ", a translation: zero rotations and scale";
    case TOperationUse::Derived:
      return "derived from " + code + "at " + PointText(operation->derived_at) + " (" + described + "), within " +
             FormatFixed(operation->derived_accuracy, 1, '.') + " m of it over the system's area";
  }
  return code + described;
}

std::string RunOperationsText(TShiftMethod method, const TProjectedSystem* a,
                              const TProjectedSystem* b) {
  std::string text;
  for (const auto& [system, label] : {std::pair{a, "TM - A: "}, std::pair{b, "TM - B: "}}) {
    if (system == nullptr) continue;
    if (!text.empty()) text += "; ";
    text += label + OperationText(method == TShiftMethod::SevenParameter ? system->seven_parameter
                                                                         : system->three_parameter);
  }
  return text;
}

std::string DescribeSystem(const TProjectedSystem& system, char decimal_separator) {
  std::string text = "name: " + system.name + "\n";
  for (const auto& [label, operation] : {std::pair{"three-parameter", &system.three_parameter},
                                         std::pair{"seven-parameter", &system.seven_parameter}}) {
    text += std::string(label) + ": " + OperationText(*operation) + "\n";
    if (*operation && !(*operation)->code.empty()) {
      text += std::string(label) + " area: " + AreaText((*operation)->area, (*operation)->box) + "\n";
    }
  }
  const std::array<std::string, kSystemTextCount> texts = SystemTexts(system.grid, decimal_separator);
  for (std::size_t i = 0; i < texts.size(); ++i) {
    text += std::string(kParameterCaptions[i]) + ": " + texts[i] + "\n";
  }
  return text;
}

}  // namespace tervela
