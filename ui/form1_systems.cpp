// The Settings page's buttons that fill system A or B from PROJ's database.

#include <QLineEdit>
#include <QPushButton>

#include "systems/system_texts.h"
#include "ui/form1.h"
#include "ui/look.h"
#include "ui/record_file_controls.h"

namespace tervela {

// In the free band of the right-hand column, between the "Common 3p 7p Data"
// and "TM Projection Data" captions; after Save settings in the focus chain.
void TForm1::BuildSystemButtons() {
  Button7 = MakeButton(TabSheet2, "Button7", {292, 180, 98, 25}, QStringLiteral("A from PROJ..."));
  Button8 = MakeButton(TabSheet2, "Button8", {292, 212, 98, 25}, QStringLiteral("B from PROJ..."));
  Button7->setAccessibleName(QStringLiteral("Fill system A from PROJ's database"));
  Button8->setAccessibleName(QStringLiteral("Fill system B from PROJ's database"));
}

Status TForm1::Button7Click() { return FillSystem(TLocalSystem::A); }

Status TForm1::Button8Click() { return FillSystem(TLocalSystem::B); }

// Only the chosen system's eighteen edits and its name change, as if typed.
Status TForm1::FillSystem(TLocalSystem target) {
  const bool a = target == TLocalSystem::A;
  const std::optional<TProjectedSystem> system =
      platform_.ChooseSystem(a ? QStringLiteral("system A") : QStringLiteral("system B"), decimal_separator_);
  if (!system) return {};
  TSettingsTexts texts = SettingsTexts();
  PutSystem(*system, target, decimal_separator_, texts);
  const std::size_t first = FirstParameterIndex(target);
  for (std::size_t line = first; line < first + kSystemTextCount; ++line) {
    settings_edits_[line]->setText(QString::fromStdString(texts[line]));
    // The start of a long value (df) shows, not its end.
    settings_edits_[line]->setCursorPosition(0);
  }
  settings_edits_[NameIndex(target)]->setText(QString::fromUtf8(system->name.c_str()));
  record_file_controls->SystemFilled(target, *system, SettingsTexts());
  return {};
}

}  // namespace tervela
