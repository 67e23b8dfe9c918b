#pragma once

#include <memory>

#include <QDir>
#include <QLineEdit>
#include <QString>
#include <QTemporaryDir>

#include "ui/form1.h"
#include "ui/tests/fake_platform.h"

namespace tervela {

// The eighteen parameter texts of one system, Dx first and K last.
using TParameterTexts = std::array<QString, kSystemTextCount>;

// No datum shift: scale 0.9999, false easting 500000, central meridian 15.
TParameterTexts ZeroShiftSystem();
// Three-parameter shift Dx 100, Dy -50, Dz 80, Da 739.845, Df 0.10037483.
TParameterTexts ThreeParameterSystem();
// Seven-parameter shift Tx 100, Ty -50, Tz 80, Rx 1, Ry -2, Rz 3, K 5.
TParameterTexts SevenParameterSystem();

// A window on the fake platform, started in a fresh empty working directory
// that is left again afterwards.
class TWindowFixture {
 public:
  explicit TWindowFixture(char decimal_separator = '.');
  ~TWindowFixture();

  // Creates the window (reading the ini file of the working directory).
  TForm1& Start();

  TForm1& form() { return *form_; }
  TFakePlatform& platform() { return platform_; }
  QString Folder() const { return folder_.path(); }

  template <class TControl>
  TControl* Find(const QString& name) {
    return form_->findChild<TControl*>(name);
  }
  QLineEdit* Edit(int number) { return Find<QLineEdit>(QStringLiteral("Edit%1").arg(number)); }
  void SetSystem(TLocalSystem system, const TParameterTexts& texts);
  // Clicks the button and waits until a file run it started has ended.
  void Click(const QString& name);

 private:
  QString previous_folder_;
  QTemporaryDir folder_;
  char decimal_separator_;
  TFakePlatform platform_;
  std::unique_ptr<TForm1> form_;
};

// Every line edit's and label's text and every check state of the window,
// to see whether a request changed any control.
QStringList ControlSnapshot(const QWidget& window);

}  // namespace tervela
