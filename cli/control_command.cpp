#include "cli/control_command.h"

#include "batch/run_files.h"
#include "cli/system_settings.h"
#include "cli/terminal_text.h"
#include "control/check_table.h"

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

}  // namespace

Result<TControlCommandOutput> RunControlCommand(const TCommandLine& command,
                                                const TSettingsTexts& settings,
                                                char decimal_separator) {
  const bool writes = !command.write_settings_path.empty();
  if (writes) {
    const std::string read[] = {command.settings_path, command.check_path};
    const Status distinct = CheckFilesDistinct(-1, read, {}, {&command.write_settings_path, 1});
    if (!distinct) return distinct.error();
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
  }
  output.beyond_tolerance = command.tolerance && ExceedsTolerance(*judged, *command.tolerance);
  const std::string not_written =
      writes ? "; '" + QuotedText(command.write_settings_path) + "' not written" : "";
  if (!report.value().calibration_refusal.empty()) {
    output.calibration_refused = true;
    output.message = "calibration refused: " + report.value().calibration_refusal + not_written;
  } else if (output.beyond_tolerance && writes) {
    output.message = "a residual exceeds --tolerance" + not_written;
  } else if (writes) {
    TSettingsTexts calibrated = settings;
    PutCalibratedTexts(report.value(), calibrated);
    const Status written = WriteCommandSettings(command.write_settings_path, calibrated,
                                                decimal_separator, command.settings_path);
    if (!written) return written.error();
  }
  return output;
}

}  // namespace tervela
