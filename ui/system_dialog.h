#pragma once

#include <optional>

#include <QDialog>

#include "systems/projected_system.h"

class QComboBox;
class QDialogButtonBox;
class QLineEdit;
class QPlainTextEdit;
class QTreeWidget;

namespace tervela {

class TAreaMap;

// Chooses a Transverse Mercator system from PROJ's database for one local
// system: a code ("EPSG:31467") or a part of a name is searched, the matches
// are listed with their area of use, and the selected one is shown with its
// datum operations, EPSG's accuracy and the eighteen values before anything is
// applied. Beside them, the place the system is used at (typed, or put on the
// map of the areas of use), and for each shift the datum operation among the
// candidates with its area of use: chosen by the rule for the place until
// the user picks one. Nothing outside the dialog changes; the caller fills
// the system from chosen() once the dialog is accepted.
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
  // The place, "50.1, 8.7" (latitude and longitude in degrees), or empty for
  // the system's whole area; the operations go back to the rule's.
  void SetPlace(const QString& text);
  // Fills the shown system again with the candidate in `index` of the list of
  // the three-parameter (`seven` false) or the seven-parameter shift.
  void ChooseOperation(bool seven, int index);
  // The system shown, when it could be filled.
  const std::optional<TProjectedSystem>& chosen() const { return chosen_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  char decimal_separator_;
  QLineEdit* search_;
  QTreeWidget* matches_;
  QPlainTextEdit* preview_;
  QDialogButtonBox* buttons_;
  QLineEdit* place_;
  TAreaMap* map_;
  QComboBox* operation_[2];  // of the three- and the seven-parameter shift
  QPlainTextEdit* area_[2];
  QWidget* operations_;  // the column of the place and the operations
  std::optional<TProjectedSystem> chosen_;
  // What the user asked of the operations of the system shown.
  TOperationChoice choice_;

  // Fills the system of the current row with choice_ and shows it.
  void Fill();
};

}  // namespace tervela
