// The real platform: the error box that the user sees, and Exit ending the
// event loop.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "ui/form1.h"
#include "ui/qt_platform.h"

using namespace tervela;

namespace {

// What the error box showed before the test closed it with its OK button.
struct TSeenBox {
  QString title;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  qsizetype buttons = 0;
  Qt::TextFormat format = Qt::AutoText;
};

}  // namespace

class TErrorBoxWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    previous_folder_ = QDir::currentPath();
    QVERIFY(QDir::setCurrent(folder_.path()));
  }
  void cleanupTestCase() { QDir::setCurrent(previous_folder_); }

  void missingIniShowsErrorBoxAndExitEnds() {
    QList<TSeenBox> seen;
    QTimer poll;
    connect(&poll, &QTimer::timeout, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr) return;
      seen.append({box->windowTitle(), box->text(), box->icon(), box->buttons().size(), box->textFormat()});
      box->button(QMessageBox::Ok)->click();
    });
    poll.start(10);

    TQtPlatform platform;
    TForm1 form(platform);
    QCOMPARE(seen.size(), 1);
    QCOMPARE(seen[0].title, QStringLiteral("Tervela"));
    QCOMPARE(seen[0].text, QStringLiteral("File not found."));
    QCOMPARE(seen[0].icon, QMessageBox::Critical);
    QCOMPARE(seen[0].buttons, 1);
    QCOMPARE(seen[0].format, Qt::PlainText);  // a text like "<b>x" is shown as typed

    // An empty parameter: the box, then the window goes on.
    form.show();
    form.findChild<QPushButton*>("BitBtn3")->click();
    QCOMPARE(seen.size(), 2);
    QCOMPARE(seen[1].text, QStringLiteral("'' is not a valid floating point value."));

    // Exit writes the ini file and ends the event loop.
    QTimer::singleShot(0, &form, [&form] { form.Button5->click(); });
    QCOMPARE(QApplication::exec(), 0);
    QCOMPARE(QFile("Tervela.ini").size(), 76);
    QCOMPARE(seen.size(), 2);
  }

 private:
  QTemporaryDir folder_;
  QString previous_folder_;
};

QTEST_MAIN(TErrorBoxWindowTest)
#include "error_box_window_test.moc"
