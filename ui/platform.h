#pragma once

#include <optional>

#include <QString>
#include <QStringList>

#include "systems/projected_system.h"

namespace tervela {

// What a file dialog shows: one filter entry, the default suffix, the folder
// it opens in and the name chosen in it last (offered again).
struct TFileDialogOptions {
  QString filter;          // "Text file (*.txt)"
  QString default_suffix;  // "txt", appended by the dialog to a bare name
  QString initial_folder;  // absolute; used while no name was chosen yet
  QString last_name;       // empty until a name was confirmed
};

// The services of the desktop that the window uses, behind an interface so
// the tests can replace them.
class TPlatform {
 public:
  virtual ~TPlatform() = default;

  // The standard error box: error icon, one OK button, the program's title.
  virtual void ShowError(const QString& text) = 0;
  // Modal file dialogs; the confirmed full name, or nothing on cancel.
  virtual std::optional<QString> OpenFile(const TFileDialogOptions& options) = 0;
  virtual std::optional<QString> SaveFile(const TFileDialogOptions& options) = 0;
  // The modal dialog that finds a system in PROJ's database for `system`
  // ("system A"), values shown with `decimal_separator`; the system applied,
  // or nothing on cancel.
  virtual std::optional<TProjectedSystem> ChooseSystem(const QString& system,
                                                       char decimal_separator) = 0;
  // Asks whether to replace the files `names`, which exist already; true to
  // replace them.
  virtual bool ConfirmReplace(const QStringList& names) = 0;
  // The default alert sound.
  virtual void Beep() = 0;
  // Asks the event loop to end once control returns to it.
  virtual void Quit() = 0;
};

}  // namespace tervela
