// A control check of a settings record's system, with its optional
// calibration written back as parameter texts.

#include "control/control_run.h"

#include <optional>

#include "common/number_text.h"
#include "control/calibration.h"

namespace tervela {

namespace {

int DecimalsOf(TSystemField field) {
  return field == TSystemField::CorrN || field == TSystemField::CorrE ? kCorrectionDecimals
                                                                       : kTranslationDecimals;
}

std::string Metres(double value) { return FormatFixed(value, 3, '.') + " m"; }

// Why a converged calibration is no fit, "" when it is: the point it used
// that lies farthest off afterwards lies beyond the bound.
std::string FarPointRefusal(const std::vector<TControlPoint>& points, const TControlReport& report) {
  const std::vector<TResidual>& after = report.calibrated_check->residuals;
  std::optional<std::size_t> farthest;
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (!report.check.outliers[i] && Length(after[i]) > kCalibratedResidualBound &&
        (!farthest || Length(after[i]) > Length(after[*farthest]))) {
      farthest = i;
    }
  }
  if (!farthest) return {};
  return "no one shift fits the control points: point " + QuotedText(points[*farthest].name) + " is still " +
         Metres(Length(after[*farthest])) + " off after it, beyond " + Metres(kCalibratedResidualBound);
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

  const Result<TCalibration> fitted =
      Calibrate(system.value(), request.method, points, report.check.outliers);
  if (!fitted) return fitted.error();
  if (!fitted.value().converged) {
    report.calibration_refusal = "it did not converge: the mean residual is still " +
                                 Metres(fitted.value().mean_residual) + " after " +
                                 std::to_string(kCalibrationSteps) + " steps";
    return report;
  }
  // The system the texts give: each field is held as it is entered.
  TGridSystem calibrated = system.value();
  for (const TSystemField field : CalibratedFields(request.method)) {
    std::string text = FormatFixed(CalibratedValue(fitted.value().system, field), DecimalsOf(field),
                                   request.decimal_separator);
    const Result<double> read = ParseTypedNumber(text, request.decimal_separator);
    if (!read) return read.error();
    SetCalibratedValue(calibrated, field, read.value());
    report.calibrated_fields.push_back({field, std::move(text)});
  }
  Result<TControlCheck> after = CheckControlPoints(calibrated, request.method, points);
  if (!after) return after.error();
  report.calibrated_check = std::move(after.value());
  report.calibration_refusal = FarPointRefusal(points, report);
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
