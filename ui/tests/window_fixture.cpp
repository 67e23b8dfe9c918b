#include "ui/tests/window_fixture.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QLabel>
#include <QTest>

#include "settings/settings_record.h"
#include "ui/settings_record_edits.h"
#include "test_support/worked_systems.h"

namespace tervela {

namespace {

// Any run a test starts ends, or is cancelled, well within this.
constexpr int kLongestRun = 30'000;  // milliseconds

// The zero-shift system with the worked system's texts at `fields`.
TParameterTexts ZeroShiftWith(std::initializer_list<int> fields) {
  TParameterTexts texts = ZeroShiftSystem();
  for (const int field : fields) texts[field] = QString::fromLatin1(testing::kWorkedSystem[field]);
  return texts;
}

}  // namespace

TParameterTexts ZeroShiftSystem() {
  TParameterTexts texts;
  for (int i = 0; i < kSystemTextCount; ++i) texts[i] = QString::fromLatin1(testing::kZeroShiftSystem[i]);
  return texts;
}

// Dx, Dy, Dz, Da, Df.
TParameterTexts ThreeParameterSystem() { return ZeroShiftWith({0, 1, 2, 3, 4}); }

// Da, Df and Tx to K.
TParameterTexts SevenParameterSystem() {
  return ZeroShiftWith({3, 4, 11, 12, 13, 14, 15, 16, 17});
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
  for (std::size_t i = 0; i < kSystemTextCount; ++i) {
    Edit(kSettingsRecordEdits[FirstParameterIndex(system) + i])->setText(texts[i]);
  }
}

void TWindowFixture::Click(const QString& name) {
  auto* button = Find<QAbstractButton>(name);
  QVERIFY2(button != nullptr, qPrintable(name));
  button->click();
  // A file run that outlasts the click ends in the window's event loop; the
  // queued end of one that the click ended itself must then change nothing.
  QTRY_VERIFY_WITH_TIMEOUT(!form_->FileRunActive(), kLongestRun);
  QCoreApplication::sendPostedEvents();
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
