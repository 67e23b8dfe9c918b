// A control check of a settings record's system, with its optional
// calibration written back as parameter texts.

#include "control/control_run.h"

#include "common/number_text.h"
#include "control/calibration.h"

namespace tervela {

namespace {

int DecimalsOf(TSystemField field) {
  return field == TSystemField::CorrN || field == TSystemField::CorrE ? kCorrectionDecimals
                                                                       : kTranslationDecimals;
}

}  // namespace

Result<TControlReport> RunControlCheck(const TRecordSystems& systems,
                                       const std::vector<TControlPoint>& points,
                                       const TControlRequest& request) {
  const Result<TGridSystem>& system = systems[request.system].grid;
  if (!system) return system.error();
  Result<TControlCheck> check = CheckControlPoints(system.value(), request.method, points);
  if (!check) return check.error();
  TControlReport report;
  report.system = request.system;
  report.check = std::move(check.value());
  if (!request.calibrate) return report;

  const Result<TGridSystem> fitted =
      Calibrate(system.value(), request.method, points, report.check.outliers);
  if (!fitted) return fitted.error();
  // The system the texts give: each field is held as it is entered.
  TGridSystem calibrated = system.value();
  for (const TSystemField field : CalibratedFields(request.method)) {
    std::string text = FormatFixed(CalibratedValue(fitted.value(), field), DecimalsOf(field),
                                   request.decimal_separator);
    const Result<double> read = ParseTypedNumber(text, request.decimal_separator);
    if (!read) return read.error();
    SetCalibratedValue(calibrated, field, read.value());
    report.calibrated_fields.push_back({field, std::move(text)});
  }
  Result<TControlCheck> after = CheckControlPoints(calibrated, request.method, points);
  if (!after) return after.error();
  report.calibrated_check = std::move(after.value());
  return report;
}

void PutCalibratedTexts(const TControlReport& report, TSettingsTexts& record) {
  for (const TCalibratedField& calibrated : report.calibrated_fields) {
    record[FieldIndex(report.system, calibrated.field)] = calibrated.text;
  }
}

std::string CalibratedFieldName(TSystemField field) {
  switch (field) {
    case TSystemField::CorrN: return "corr.N";
    case TSystemField::CorrE: return "corr.E";
    case TSystemField::Tx: return "Tx";
    case TSystemField::Ty: return "Ty";
    case TSystemField::Tz: return "Tz";
    default: return {};
  }
}

}  // namespace tervela
