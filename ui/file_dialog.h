#pragma once

#include <optional>

#include <QString>

#include "ui/platform.h"

namespace tervela {

// One of the window's four file dialogs. It lives as long as the window,
// offers the name chosen in it last, and applies the working-directory rule:
// after a confirmed save dialog the working directory is the chosen file's
// folder; an open dialog leaves it unchanged.
class TFileDialog {
 public:
  enum class TKind { Open, Save };

  // `initial_folder` may be relative; it is resolved against the working
  // directory when the dialog opens, which is used where it does not exist.
  TFileDialog(TKind kind, QString filter, QString default_suffix, QString initial_folder = {});

  // Shows the dialog; the confirmed full name, or nothing on cancel.
  std::optional<QString> Execute(TPlatform& platform);

 private:
  TFileDialogOptions Options() const;

  TKind kind_;
  QString filter_;
  QString default_suffix_;
  QString initial_folder_;
  QString last_name_;
};

}  // namespace tervela
