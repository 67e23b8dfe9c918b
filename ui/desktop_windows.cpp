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

// The system's dialog font, Tahoma (what "MS Shell Dlg 2" names), at the
// 11 pixels of 8 points on a 96 dpi screen, its letters set half a pixel
// closer: the controls' fixed sizes were made for the narrower MS Sans Serif,
// and at its own spacing Tahoma cuts the longest captions. (Narrowing the
// letters themselves, as the other systems' font is, costs the bold weight
// in Windows' font matching.)
QFont WindowFont() {
  QFont font(QStringLiteral("Tahoma"));
  font.setPixelSize(11);
  font.setLetterSpacing(QFont::AbsoluteSpacing, -0.5);
  return font;
}

QFont ReadoutFont() {
  QFont font(QStringLiteral("Times New Roman"));
  font.setStyleHint(QFont::Serif);
  font.setPixelSize(9);
  return font;
}

}  // namespace tervela
