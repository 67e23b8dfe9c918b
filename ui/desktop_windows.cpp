#include <QCoreApplication>
#include <QDir>
#include <QString>

#include "ui/desktop.h"
#include "ui/first_start_settings.h"
#include "ui/form1.h"
#include "ui/look.h"

namespace tervela {

bool PrepareProgramStart(TPlatform& platform) {
  QString home = qEnvironmentVariable("TERVELA_HOME");
  if (home.isEmpty()) home = QDir::homePath() + QStringLiteral("/Tervela");
  const QString examples = QCoreApplication::applicationDirPath() + QStringLiteral("/examples");
  const Result<bool> prepared =
      PrepareWorkingFolder(home.toStdString(), examples.toStdString(), SystemDecimalSeparator());
  if (!prepared) {
    platform.ShowError(QDir::toNativeSeparators(QString::fromStdString(prepared.error().file())) +
                       QStringLiteral(": ") + QString::fromStdString(prepared.error().BoxText()));
    return false;
  }
  return QDir::setCurrent(home);
}

// The system's dialog font, MS Shell Dlg 2, at the size dialogs use. Windows
// maps that name to Tahoma; where Qt's font list lacks the name (as under
// Wine), Tahoma is asked for by its own name.
QFont WindowFont() {
  QFont font;
  font.setFamilies({QStringLiteral("MS Shell Dlg 2"), QStringLiteral("Tahoma")});
  font.setPointSize(8);
  return font;
}

QFont ReadoutFont() {
  QFont font(QStringLiteral("Times New Roman"));
  font.setStyleHint(QFont::Serif);
  font.setPixelSize(9);
  return font;
}

}  // namespace tervela
