#pragma once

#include "ui/platform.h"

namespace tervela {

// The platform as Qt offers it: QMessageBox, QFileDialog, QApplication.
class TQtPlatform final : public TPlatform {
 public:
  void ShowError(const QString& text) override;
  std::optional<QString> OpenFile(const TFileDialogOptions& options) override;
  std::optional<QString> SaveFile(const TFileDialogOptions& options) override;
  std::optional<TProjectedSystem> ChooseSystem(const QString& system, char decimal_separator) override;
  bool ConfirmReplace(const QStringList& names) override;
  void Beep() override;
  void Quit() override;
};

}  // namespace tervela
