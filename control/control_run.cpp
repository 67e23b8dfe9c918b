// A control check of a settings record's system, with its optional
// calibration written back as parameter texts.

#include "control/control_run.h"

#include <array>

#include "common/number_text.h"
#include "control/calibration.h"

namespace tervela {

namespace {

// A calibrated field: its place among a system's eighteen texts (Dx is 0),
// its caption and the decimals it is written with.
struct CalibratedField {
  int index;
  const char* caption;
  double TParameterSet::*member;
  int decimals;
};
constexpr std::array<CalibratedField, 2> kThreeParameterFields = {{
    {5, "corr.N", &TParameterSet::CorrN, kCorrectionDecimals},
    {6, "corr.E", &TParameterSet::CorrE, kCorrectionDecimals},
}};
constexpr std::array<CalibratedField, 3> kSevenParameterFields = {{
    {11, "Tx", &TParameterSet::Tx, kTranslationDecimals},
    {12, "Ty", &TParameterSet::Ty, kTranslationDecimals},
    {13, "Tz", &TParameterSet::Tz, kTranslationDecimals},
}};

std::span<const CalibratedField> FieldsOf(TShiftMethod method) {
  if (method == TShiftMethod::ThreeParameter) return kThreeParameterFields;
  return kSevenParameterFields;
}

int FirstLine(TLocalSystem system) { return system == TLocalSystem::A ? 0 : kSystemTextCount; }

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

Result<TControlReport> RunControlCheck(const TSettingsTexts& texts,
                                       const std::vector<TControlPoint>& points,
                                       const TControlRequest& request) {
  TParameterSet set;
  const TSystemTexts system_texts = ParameterTexts(texts, request.system);
  if (const Status read = ReadParameterSet(system_texts, request.decimal_separator, set); !read) {
    return read.error();
  }
  Result<TControlCheck> check = CheckControlPoints(set, request.method, points);
  if (!check) return check.error();
  TControlReport report;
  report.check = std::move(check.value());
  report.calibrated_texts = texts;
  if (!request.calibrate) return report;

  const Result<TCalibration> fitted = Calibrate(set, request.method, points, report.check.outliers);
  if (!fitted) return fitted.error();
  if (!fitted.value().converged) {
    report.calibration_refusal = "it did not converge: the mean residual is still " +
                                 Metres(fitted.value().mean_residual) + " after " +
                                 std::to_string(kCalibrationSteps) + " steps";
    return report;
  }
  for (const CalibratedField& field : FieldsOf(request.method)) {
    const int line = FirstLine(request.system) + field.index;
    report.calibrated_texts[static_cast<std::size_t>(line)] =
        FormatFixed(fitted.value().set.*field.member, field.decimals, request.decimal_separator);
    report.calibrated_lines.push_back(line);
  }
  TParameterSet calibrated;
  const Status reread = ReadParameterSet(ParameterTexts(report.calibrated_texts, request.system),
                                         request.decimal_separator, calibrated);
  if (!reread) return reread.error();
  Result<TControlCheck> after = CheckControlPoints(calibrated, request.method, points);
  if (!after) return after.error();
  report.calibrated_check = std::move(after.value());
  report.calibration_refusal = FarPointRefusal(points, report);
  return report;
}

std::string CalibratedFieldName(int record_line) {
  const int index = record_line % kSystemTextCount;
  for (const auto fields : {FieldsOf(TShiftMethod::ThreeParameter), FieldsOf(TShiftMethod::SevenParameter)}) {
    for (const CalibratedField& field : fields) {
      if (field.index == index) return field.caption;
    }
  }
  return {};
}

}  // namespace tervela
