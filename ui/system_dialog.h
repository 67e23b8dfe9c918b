#pragma once

#include <optional>

#include <QDialog>

#include "systems/projected_system.h"

class QDialogButtonBox;
class QLineEdit;
class QPlainTextEdit;
class QTreeWidget;

namespace tervela {

// Chooses a Transverse Mercator system from PROJ's database for one local
// system: a code ("EPSG:31467") or a part of a name is searched, the matches
// are listed with their area of use, and the selected one is shown with its
// datum operations, EPSG's accuracy and the eighteen values before anything is
// applied. Nothing outside the dialog changes; the caller fills the system
// from chosen() once the dialog is accepted.
class TSystemDialog : public QDialog {
  Q_OBJECT
 public:
  // `system` names the target for the title ("system A"); the values are
  // shown with `decimal_separator`.
  TSystemDialog(const QString& system, char decimal_separator, QWidget* parent = nullptr);

  // Lists the systems that `text` finds: a text with a colon that PROJ knows
  // as a code is that code, any other text part of a name.
  void Search(const QString& text);
  // Shows the listed system in `row` and makes it the one Apply takes.
  void Select(int row);
  // The system shown, when it could be filled.
  const std::optional<TProjectedSystem>& chosen() const { return chosen_; }

 private:
  char decimal_separator_;
  QLineEdit* search_;
  QTreeWidget* matches_;
  QPlainTextEdit* preview_;
  QDialogButtonBox* buttons_;
  std::optional<TProjectedSystem> chosen_;
};

}  // namespace tervela
