#include "cli/control_command.h"

#include "cli/terminal_text.h"
#include "control/check_table.h"
#include "io/files.h"

namespace tervela {

namespace {

// One table: a row per point, names escaped so that no byte of a control
// file steers the terminal or splits a field, then the summary.
std::string TableText(const std::vector<TControlPoint>& points, const TControlCheck& check) {
  std::string text;
  for (std::size_t i = 0; i < points.size(); ++i) {
    text += CheckRowText(EscapeControlCharacters(points[i].name), check.residuals[i], check.outliers[i]);
    text += '\n';
  }
  return text + CheckSummaryText(check) + '\n';
}

bool SameFile(const std::string& a, const std::string& b) {
  const std::optional<io::FileIdentity> identity = io::RegularFileIdentity(a);
  return a == b || (identity && identity == io::RegularFileIdentity(b));
}

}  // namespace

Result<TControlCommandOutput> RunControlCommand(const TCommandLine& command,
                                                const TSettingsTexts& settings,
                                                char decimal_separator) {
  if (!command.write_settings_path.empty() && SameFile(command.write_settings_path, command.settings_path)) {
    return Error::File(file_error::kSharingViolation);
  }
  const Result<std::vector<TControlPoint>> points = ReadControlFile(command.check_path);
  if (!points) return points.error();

  const TControlRequest request{*command.check_grid, command.conversion.method, decimal_separator,
                                command.calibrate};
  const Result<TControlReport> report =
      RunControlCheck(ReadRecordSystems(settings, decimal_separator, command.settings_path),
                      points.value(), request);
  if (!report) return report.error();

  TControlCommandOutput output;
  output.text = TableText(points.value(), report.value().check);
  const TControlCheck* judged = &report.value().check;
  if (report.value().calibrated_check) {
    judged = &*report.value().calibrated_check;
    output.text += TableText(points.value(), *judged);
    output.text += CalibratedValuesText(report.value()) + '\n';
    if (!command.write_settings_path.empty()) {
      TSettingsTexts calibrated = settings;
      PutCalibratedTexts(report.value(), calibrated);
      const Status written = WriteSettingsRecord(command.write_settings_path, calibrated);
      if (!written) return written.error();
    }
  }
  output.beyond_tolerance = command.tolerance && ExceedsTolerance(*judged, *command.tolerance);
  return output;
}

}  // namespace tervela
