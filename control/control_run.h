#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/result.h"
#include "control/control_file.h"
#include "control/residual_check.h"
#include "engine/engine.h"
#include "settings/record_systems.h"

namespace tervela {

// A control check of one system of a settings record.
struct TControlRequest {
  TLocalSystem system = TLocalSystem::A;
  TShiftMethod method = TShiftMethod::ThreeParameter;
  char decimal_separator = '.';  // of the record's parameter texts
  bool calibrate = false;
};

// A calibrated field and its text as the record will hold it.
struct TCalibratedField {
  TSystemField field;
  std::string text;
};

// What a control check found.
struct TControlReport {
  TLocalSystem system = TLocalSystem::A;
  TControlCheck check;  // against the system as the record holds it
  // With calibrate, once it converged: the texts of the calibrated fields,
  // and the check against the system those texts give, that is against
  // exactly what a saved record would hold.
  std::vector<TCalibratedField> calibrated_fields;
  std::optional<TControlCheck> calibrated_check;
  // With calibrate: why the calibration is no fit to use or save (it did not
  // converge, or a point it used lies beyond kCalibratedResidualBound after
  // it); empty when it is.
  std::string calibration_refusal;
};

// The calibrated values are refused unless the calibration converged and
// every point it used (those not flagged) then lies within this many metres:
// a control set in which no one shift fits (northing and easting swapped, a
// wrong system) gives residuals of kilometres, a survey's of centimetres.
inline constexpr double kCalibratedResidualBound = 1.0;

// Checks `points` against the requested system of `systems` and, when asked,
// calibrates it (Calibrate) leaving out the flagged points; fails with the
// error of the system's texts when they did not read. The calibrated fields
// are written with FormatFixed: corr.N and corr.E with kCorrectionDecimals
// decimals (0.3 mm on the ground), Tx, Ty and Tz with kTranslationDecimals
// (0.1 mm).
inline constexpr int kCorrectionDecimals = 5;
inline constexpr int kTranslationDecimals = 4;
Result<TControlReport> RunControlCheck(const TRecordSystems& systems,
                                       const std::vector<TControlPoint>& points,
                                       const TControlRequest& request);

// Puts the calibrated fields' texts on their lines of `record`.
void PutCalibratedTexts(const TControlReport& report, TSettingsTexts& record);

// The name of a calibrated field, as its settings-page caption names it
// ("corr.N", "Tx", ...).
std::string CalibratedFieldName(TSystemField field);

}  // namespace tervela
