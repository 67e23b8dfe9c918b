#include "ui/tests/window_fixture.h"

#include <QAbstractButton>
#include <QLabel>
#include <QTest>

#include "settings/settings_record.h"

namespace tervela {

TParameterTexts ZeroShiftSystem() {
  return {"0", "0", "0", "0", "0", "0", "0", "0.9999", "500000", "0", "15",
          "0", "0", "0", "0", "0", "0", "0"};
}

TParameterTexts ThreeParameterSystem() {
  TParameterTexts texts = ZeroShiftSystem();
  texts[0] = "100";
  texts[1] = "-50";
  texts[2] = "80";
  texts[3] = "739.845";
  texts[4] = "0.10037483";
  return texts;
}

TParameterTexts SevenParameterSystem() {
  TParameterTexts texts = ZeroShiftSystem();
  texts[3] = "739.845";
  texts[4] = "0.10037483";
  const char* seven[] = {"100", "-50", "80", "1", "-2", "3", "5"};
  for (int i = 0; i < 7; ++i) texts[11 + i] = QString::fromLatin1(seven[i]);
  return texts;
}

TWindowFixture::TWindowFixture(char decimal_separator)
    : previous_folder_(QDir::currentPath()), decimal_separator_(decimal_separator) {
  QDir::setCurrent(folder_.path());
}

TWindowFixture::~TWindowFixture() {
  form_.reset();
  QDir::setCurrent(previous_folder_);
}

TForm1& TWindowFixture::Start() {
  form_ = std::make_unique<TForm1>(platform_, decimal_separator_);
  return *form_;
}

void TWindowFixture::SetSystem(TLocalSystem system, const TParameterTexts& texts) {
  const int first = system == TLocalSystem::A ? 0 : kParameterCount;
  for (int i = 0; i < kParameterCount; ++i) {
    Edit(kSettingsRecordEdits[first + i])->setText(texts[i]);
  }
}

void TWindowFixture::Click(const QString& name) {
  auto* button = Find<QAbstractButton>(name);
  QVERIFY2(button != nullptr, qPrintable(name));
  button->click();
}

QStringList ControlSnapshot(const QWidget& window) {
  QStringList snapshot;
  for (const QLineEdit* edit : window.findChildren<QLineEdit*>()) {
    snapshot.append(edit->objectName() + "=" + edit->text());
  }
  for (const QLabel* label : window.findChildren<QLabel*>()) {
    snapshot.append(label->objectName() + "=" + label->text());
  }
  for (const QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
    snapshot.append(button->objectName() + (button->isChecked() ? "=on" : "=off"));
  }
  return snapshot;
}

}  // namespace tervela
