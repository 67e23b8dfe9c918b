#include "ui/record_file_controls.h"

#include <QCheckBox>

#include "conversion/direction.h"
#include "systems/system_texts.h"

namespace tervela {

namespace {

QCheckBox* MakeBox(QWidget* page, const char* name, const QRect& geometry, const QString& caption,
                   const QString& accessible_name, const QString& description) {
  auto* box = new QCheckBox(caption, page);
  box->setObjectName(QString::fromLatin1(name));
  box->setGeometry(geometry);
  box->setAccessibleName(accessible_name);
  box->setAccessibleDescription(description);
  return box;
}

int IndexOf(TLocalSystem system) { return system == TLocalSystem::A ? 0 : 1; }

}  // namespace

TRecordFileControls::TRecordFileControls(QWidget* page) : QObject(page) {
  CheckBox4 = MakeBox(page, "CheckBox4", {164, 444, 56, 17}, QStringLiteral("DXF"),
                      QStringLiteral("Write DXF drawing"),
                      QStringLiteral("Convert File also writes the points, their texts and "
                                     "numbers on the output grid as a DXF drawing beside the "
                                     "output file; not for a conversion to WGS84"));
  CheckBox5 = MakeBox(page, "CheckBox5", {226, 444, 56, 17}, QStringLiteral("CSV"),
                      QStringLiteral("Write CSV table"),
                      QStringLiteral("Convert File also writes a table of the records with "
                                     "their WGS84 position, grid convergence and scale factor "
                                     "beside the output file"));
}

std::array<std::string, kSystemTextCount + 1> TRecordFileControls::TextsOf(
    TLocalSystem system, const TSettingsTexts& settings) {
  std::array<std::string, kSystemTextCount + 1> texts;
  const std::size_t first = system == TLocalSystem::A ? 0 : kSystemTextCount;
  std::copy(settings.begin() + first, settings.begin() + first + kSystemTextCount, texts.begin());
  texts.back() = settings[2 * kSystemTextCount + IndexOf(system)];
  return texts;
}

void TRecordFileControls::SystemFilled(TLocalSystem target, const TProjectedSystem& system,
                                       const TSettingsTexts& settings) {
  filled_[IndexOf(target)] = TFilled{system, TextsOf(target, settings)};
}

void TRecordFileControls::AddRecordFiles(TFileConversion& request,
                                         const TSettingsTexts& settings) const {
  if (CheckBox4->isChecked()) request.dxf_name = request.output_name + ".dxf";
  if (!CheckBox5->isChecked()) return;
  request.csv_name = request.output_name + ".csv";
  const auto used = [&](TLocalSystem system) -> const TProjectedSystem* {
    const std::optional<TFilled>& filled = filled_[IndexOf(system)];
    const bool uses = SourceSystem(request.direction) == system ||
                      (GridToGrid(request.direction) && TargetSystem(request.direction) == system);
    if (!uses || !filled || filled->texts != TextsOf(system, settings)) return nullptr;
    return &filled->system;
  };
  request.csv_operation = RunOperationsText(request.method, used(TLocalSystem::A), used(TLocalSystem::B));
}

}  // namespace tervela
