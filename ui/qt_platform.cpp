#include "ui/qt_platform.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

#include "ui/application_title.h"
#include "ui/system_dialog.h"

namespace tervela {
namespace {

// Runs one file dialog. QFileDialog never changes the working directory, so
// the open dialogs leave it as it was by themselves.
std::optional<QString> RunFileDialog(const TFileDialogOptions& options, QFileDialog::AcceptMode mode) {
  QFileDialog dialog(QApplication::activeWindow(), QString(), options.initial_folder, options.filter);
  dialog.setAcceptMode(mode);
  // The chosen file need not exist, and an existing one is replaced without a question.
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setDefaultSuffix(options.default_suffix);
  if (!options.last_name.isEmpty()) dialog.selectFile(options.last_name);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().constFirst();
}

}  // namespace

void TQtPlatform::ShowError(const QString& text) {
  QMessageBox box(QMessageBox::Critical, kApplicationTitle, text, QMessageBox::Ok,
                  QApplication::activeWindow());
  // A quoted settings text is shown as typed, never read as markup.
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

std::optional<QString> TQtPlatform::OpenFile(const TFileDialogOptions& options) {
  return RunFileDialog(options, QFileDialog::AcceptOpen);
}

std::optional<QString> TQtPlatform::SaveFile(const TFileDialogOptions& options) {
  return RunFileDialog(options, QFileDialog::AcceptSave);
}

std::optional<TProjectedSystem> TQtPlatform::ChooseSystem(const QString& system,
                                                          char decimal_separator) {
  TSystemDialog dialog(system, decimal_separator, QApplication::activeWindow());
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.chosen();
}

bool TQtPlatform::ConfirmReplace(const QStringList& names) {
  const QString text =
      QStringLiteral("These files exist already:\n\n%1\n\nReplace them?").arg(names.join(u'\n'));
  QMessageBox box(QMessageBox::Question, kApplicationTitle, text,
                  QMessageBox::Yes | QMessageBox::No, QApplication::activeWindow());
  box.setDefaultButton(QMessageBox::No);
  box.setTextFormat(Qt::PlainText);
  return box.exec() == QMessageBox::Yes;
}

void TQtPlatform::Beep() { QApplication::beep(); }

void TQtPlatform::Quit() { QApplication::quit(); }

}  // namespace tervela
