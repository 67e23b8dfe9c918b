#pragma once

// A filled system as the texts of the Settings page and of tervela-convert.

#include <array>
#include <string>
#include <string_view>

#include "engine/engine.h"
#include "settings/record_systems.h"
#include "systems/projected_system.h"

namespace tervela {

// The captions of the eighteen Settings-page rows, Dx first and K last.
extern const std::array<std::string_view, kSystemTextCount> kParameterCaptions;

// The eighteen texts of a system (SettingsPageValues): fixed notation with as
// many decimals as the field's unit needs to stay below a micrometre on the
// ground, trailing zeros dropped, `decimal_separator` as separator.
std::array<std::string, kSystemTextCount> SystemTexts(const TGridSystem& system,
                                                      char decimal_separator);

// The system the Settings page reads SystemTexts(system) back as: each of
// its numbers rounded as its text rounds it (RoundToDecimals).
TGridSystem AsShown(const TGridSystem& system);

// Puts the eighteen texts and the name of `system` on the lines of `target`
// in `settings`; the other system's lines stay as they are.
void PutSystem(const TProjectedSystem& system, TLocalSystem target, char decimal_separator,
               TSettingsTexts& settings);

// "EPSG:1777 DHDN to WGS 84 (2), accuracy 3 m", the code left out where the
// operation has none; "none" for no operation. A translation standing in for
// a Helmert transformation ends ", a translation: zero rotations and scale";
// a derived one reads "derived from EPSG:1777 at 51.2N 9.0E (DHDN to WGS 84
// (2), accuracy 3 m), within 2.4 m of it over the system's area".
std::string OperationText(const std::optional<TDatumOperation>& operation);

// The operation column of a run's CSV table: for system A and B, when given
// (filled from PROJ and used by the run), "TM - A: " and the OperationText of
// the shift `method` applies, joined by "; ".
std::string RunOperationsText(TShiftMethod method, const TProjectedSystem* a,
                              const TProjectedSystem* b);

// The description of tervela-convert --describe-system, one line each: name,
// the two operations each followed by its area of use ("three-parameter
// area: " and AreaText, but for WGS 84 itself), then the eighteen values as
// "caption: value".
std::string DescribeSystem(const TProjectedSystem& system, char decimal_separator);

}  // namespace tervela
