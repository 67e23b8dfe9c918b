#pragma once

#include <array>
#include <optional>
#include <string>

#include <QObject>

#include "batch/point_file_conversion.h"
#include "settings/settings_record.h"
#include "systems/projected_system.h"

class QCheckBox;
class QWidget;

namespace tervela {

// The Conversion page's choices of a DXF drawing and a CSV table beside the
// output, between "Write map files" and "Show points": Convert File then also
// writes OUTPUT.dxf and OUTPUT.csv. The CSV names the datum operations of the
// systems last filled from PROJ's database while their texts stay as filled.
class TRecordFileControls final : public QObject {
 public:
  explicit TRecordFileControls(QWidget* page);

  QCheckBox* CheckBox4;  // "DXF"
  QCheckBox* CheckBox5;  // "CSV"

  // System `target` was filled from `system`, leaving the Settings page's
  // texts as `settings`.
  void SystemFilled(TLocalSystem target, const TProjectedSystem& system,
                    const TSettingsTexts& settings);

  // Sets the DXF and CSV names of `request` for the boxes checked, and the
  // CSV's operations from the systems the run uses that are still as filled
  // in `settings`.
  void AddRecordFiles(TFileConversion& request, const TSettingsTexts& settings) const;

 private:
  struct TFilled {
    TProjectedSystem system;
    std::array<std::string, kSystemTextCount + 1> texts;  // its eighteen texts and its name
  };
  static std::array<std::string, kSystemTextCount + 1> TextsOf(TLocalSystem system,
                                                                const TSettingsTexts& settings);

  std::optional<TFilled> filled_[2];  // A, B
};

}  // namespace tervela
