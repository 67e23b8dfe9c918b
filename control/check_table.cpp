// The residual table as text: the command line's output and the window's
// clipboard copy.

#include "control/check_table.h"

#include "common/number_text.h"

namespace tervela {

namespace {

constexpr int kMetreDecimals = 3;

std::string Metres(double value) { return FormatFixed(value, kMetreDecimals, '.'); }

}  // namespace

std::string CheckRowText(std::string_view name, const TResidual& residual, bool outlier) {
  std::string row(name);
  row += '\t' + Metres(residual.north) + '\t' + Metres(residual.east) + '\t' +
         Metres(Length(residual));
  if (outlier) row += "\toutlier";
  return row;
}

std::string CheckSummaryText(const TControlCheck& check) {
  return "points " + std::to_string(check.residuals.size()) + "\trms " + Metres(check.rms) +
         "\tmax " + Metres(check.max) + "\toutliers " + std::to_string(check.outlier_count);
}

std::string CalibratedValuesText(const TControlReport& report) {
  std::string text;
  for (const TCalibratedField& calibrated : report.calibrated_fields) {
    if (!text.empty()) text += '\t';
    text += CalibratedFieldName(calibrated.field) + ' ' + calibrated.text;
  }
  return text;
}

}  // namespace tervela
