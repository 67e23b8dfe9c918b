// The window's file requests through the fake platform: Convert File, the
// file pickers, settings files, the ini file at start and at Exit.
#include <unistd.h>

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "ui/control_check_dialog.h"
#include "ui/settings_record_edits.h"
#include "ui/system_dialog.h"
#include "test_support/system.h"
#include "ui/tests/window_fixture.h"

using namespace tervela;

namespace {

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A settings record whose line n (1 to 38) reads "vn".
QByteArray NumberedRecord() {
  QByteArray record;
  for (int line = 1; line <= kSettingsLineCount; ++line) record += "v" + QByteArray::number(line) + "\r\n";
  return record;
}

QString Canonical(const QString& folder) { return QDir(folder).canonicalPath(); }

// Makes the FIFO `path` in the working folder; the test is skipped where the
// system has none.
#define MAKE_FIFO(path)                                                                   \
  do {                                                                                    \
    const std::string why = testing::WhyLacking(testing::Facility::Fifo);                 \
    if (!why.empty()) QSKIP(why.c_str());                                                 \
    QVERIFY(testing::MakeFifo(path));                                                     \
  } while (false)

}  // namespace

class TFileRequestsWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
  void init() { fixture_ = std::make_unique<TWindowFixture>(); }
  void cleanup() { fixture_.reset(); }

  // An ini file that cannot be read whole: the start reports it and goes on;
  // a regular file's bytes are kept beside it before Exit can write over it.
  void startWithoutWholeIni_data() {
    QTest::addColumn<QString>("ini");
    QTest::addColumn<QString>("error");
    QTest::newRow("missing") << "" << "File not found.";
    QTest::newRow("FIFO") << "fifo" << "File access denied.";
    QTest::newRow("third line of 17 MiB")
        << "long" << "Settings line longer than 16 MiB. Its bytes are kept in Tervela.ini.bad.";
  }
  void startWithoutWholeIni() {
    QFETCH(QString, ini);
    QFETCH(QString, error);
    QByteArray bytes = "1\r\n2\r\n" + QByteArray(17 << 20, '3') + "\r\n" + NumberedRecord();
    if (ini == "fifo") MAKE_FIFO("Tervela.ini");
    if (ini == "long") WriteFile("Tervela.ini", bytes);
    TForm1& form = fixture_->Start();
    QCOMPARE(fixture_->platform().errors, QStringList{error});
    QCOMPARE(form.Edit1->text(), ini == "long" ? QStringLiteral("1") : QString());
    QCOMPARE(form.Edit44->text(), QString());
    fixture_->Click("Button5");  // a FIFO that no one reads fails at once
    QCOMPARE(fixture_->platform().quits, ini == "fifo" ? 0 : 1);
    QCOMPARE(ReadFile("Tervela.ini.bad"), ini == "long" ? bytes : QByteArray());
  }

  void startWithIni() {
    WriteFile("Tervela.ini", NumberedRecord());
    TForm1& form = fixture_->Start();
    QCOMPARE(fixture_->platform().errors, QStringList());
    for (int line = 0; line < kSettingsLineCount; ++line) {
      QCOMPARE(fixture_->Edit(kSettingsRecordEdits[line])->text(), QStringLiteral("v%1").arg(line + 1));
    }
    QCOMPARE(form.Edit43->text(), QStringLiteral("v37"));
    QVERIFY(!form.isVisible());  // read before the window is shown
  }

  void exitWritesIniAndEnds() {
    TForm1& form = fixture_->Start();
    form.Edit1->setText("100");
    form.Edit44->setText(QString::fromUtf8("Zone Ø"));
    fixture_->Click("Button5");
    QCOMPARE(fixture_->platform().quits, 1);
    const QByteArray ini = ReadFile("Tervela.ini");
    QVERIFY(ini.startsWith("100\r\n\r\n"));
    QVERIFY(ini.endsWith("\r\nZone \xC3\x98\r\n"));
    QCOMPARE(ini.count("\r\n"), kSettingsLineCount);
  }

  // Every line the user did not edit goes back as it was read: bytes the
  // local encoding cannot show, and a text beyond QLineEdit's default maximum.
  void exitKeepsUneditedBytes() {
    const QByteArray unedited[] = {"Zone \xe8", "\xff", QByteArray(40000, '7')};
    QByteArray read, expected = "edited\r\n";
    for (int line = 0; line < kSettingsLineCount; ++line) {
      const QByteArray text = unedited[line % 3];
      read += text + "\r\n";
      if (line > 0) expected += text + "\r\n";
    }
    WriteFile("Tervela.ini", read);
    TForm1& form = fixture_->Start();
    form.Edit1->setText("edited");
    fixture_->Click("Button5");
    QCOMPARE(ReadFile("Tervela.ini"), expected);
  }

  void exitFailureKeepsWindowOpen() {
    QVERIFY(QDir().mkdir("Tervela.ini"));
    TForm1& form = fixture_->Start();
    form.show();
    fixture_->platform().errors.clear();
    form.Edit1->setText("kept");
    fixture_->Click("Button5");
    QCOMPARE(fixture_->platform().errors.size(), 1);
    QVERIFY(fixture_->platform().errors[0].endsWith(u'.'));
    QCOMPARE(fixture_->platform().quits, 0);
    QVERIFY(form.isVisible());
    QCOMPARE(form.Edit1->text(), QStringLiteral("kept"));
  }

  void closeBoxWritesNothing() {
    TForm1& form = fixture_->Start();
    form.show();
    form.Edit1->setText("changed");
    QVERIFY(form.close());
    QVERIFY(!QFile::exists("Tervela.ini"));
    QCOMPARE(fixture_->platform().quits, 0);
    QCOMPARE(fixture_->platform().errors, QStringList{"File not found."});
  }

  void convertFile() {
    TForm1& form = fixture_->Start();
    fixture_->SetSystem(TLocalSystem::A, ZeroShiftSystem());
    WriteFile("points.txt", "45.22568 13.58477 first\r\n");
    form.Edit11->setText("points.txt");
    form.Edit12->setText("out.txt");
    const QStringList before = ControlSnapshot(form);
    fixture_->Click("BitBtn2");
    QCOMPARE(fixture_->platform().errors, QStringList{"File not found."});
    QCOMPARE(fixture_->platform().beeps, 1);
    QVERIFY(ReadFile("out.txt").startsWith("5010498.551 388863.697 first\r\n"));
    QVERIFY(!QFile::exists("out.txt point.scr"));
    QCOMPARE(ControlSnapshot(form), before);
  }

  void convertFileWithScripts() {
    TForm1& form = fixture_->Start();
    fixture_->SetSystem(TLocalSystem::B, ZeroShiftSystem());
    WriteFile("points.txt", "45.22568 13.58477 first\r\n");
    form.Edit11->setText("points.txt");
    form.Edit12->setText("out.txt");
    form.CheckBox2->setChecked(true);
    fixture_->Click("RadioButton2");
    fixture_->Click("BitBtn2");
    QCOMPARE(fixture_->platform().beeps, 1);
    QVERIFY(ReadFile("out.txt").startsWith("5010498.551 388863.697"));
    QVERIFY(QFile::exists("out.txt point.scr"));
  }

  // With map files on, the run writes them beside the output, asking first
  // to replace those that exist, and its picture opens in a window that does
  // not block the main one. A name the picture cannot draw as it is ends
  // nothing.
  void convertFileWithMapFiles() {
    TForm1& form = fixture_->Start();
    fixture_->SetSystem(TLocalSystem::A, ZeroShiftSystem());
    WriteFile("points.txt", "45.22568 13.58477 first\r\n45.3 13.6 \xEF\xBF\xBF\r\n");
    form.Edit11->setText("points.txt");
    form.Edit12->setText("out.txt");
    auto* show = fixture_->Find<QPushButton>("Button9");
    fixture_->Find<QCheckBox>("CheckBox3")->setChecked(true);
    WriteFile("out.txt.png", "old");
    fixture_->platform().replace_answer = false;
    fixture_->Click("BitBtn2");
    QCOMPARE(fixture_->platform().replace_questions, QList<QStringList>{{"out.txt.png"}});
    QVERIFY(!QFile::exists("out.txt") && !QFile::exists("out.txt.kml"));
    QCOMPARE(ReadFile("out.txt.png"), QByteArray("old"));
    fixture_->platform().replace_answer = true;
    // A run that wrote no picture does not show one an earlier run left.
    form.Edit11->setText("missing.txt");
    fixture_->Click("BitBtn2");
    QVERIFY(!show->isEnabled());
    form.Edit11->setText("points.txt");
    fixture_->Click("BitBtn2");
    QCOMPARE(fixture_->platform().beeps, 1);
    QVERIFY(ReadFile("out.txt.geojson").contains("\"name\":\"first\""));
    QVERIFY(ReadFile("out.txt.kml").contains("<name>first</name>"));
    QVERIFY(show->isEnabled());
    fixture_->Click("Button9");
    QDialog* window = form.findChild<QDialog*>("PointsWindow");
    QVERIFY(window && window->isVisible() && !window->isModal());
    QCOMPARE(window->findChild<QLabel*>("PointsPicture")->pixmap().size(), QSize(800, 640));
  }

  void convertFileMissingInput() {
    TForm1& form = fixture_->Start();
    fixture_->SetSystem(TLocalSystem::A, ZeroShiftSystem());
    form.Edit11->setText("missing.txt");
    form.Edit12->setText("out.txt");
    const QStringList before = ControlSnapshot(form);
    fixture_->Click("BitBtn2");
    QCOMPARE(fixture_->platform().errors, (QStringList{"File not found.", "File not found."}));
    QCOMPARE(fixture_->platform().beeps, 0);
    QCOMPARE(ControlSnapshot(form), before);
  }

  // A run long enough to open the progress box (seven-parameter grid to
  // WGS84, the slowest direction), or one whose input is a FIFO that no
  // writer opens, stopped from the box or by closing the window: whole lines
  // kept, the input untouched, no error box, no sound.
  void stopLongFileRun_data() {
    QTest::addColumn<QString>("stop");
    QTest::addColumn<bool>("fifo");
    for (const char* stop : {"Cancel", "Esc", "box close", "window close"}) {
      QTest::newRow(stop) << stop << false;
    }
    for (const char* stop : {"Cancel", "window close"}) {
      QTest::newRow(qPrintable(QStringLiteral("%1, FIFO without writer").arg(stop))) << stop << true;
    }
  }
  void stopLongFileRun() {
    QFETCH(QString, stop);
    QFETCH(bool, fifo);
    TForm1& form = fixture_->Start();
    form.show();
    fixture_->SetSystem(TLocalSystem::A, ZeroShiftSystem());
    form.CheckBox1->setChecked(true);
    fixture_->Click("RadioButton8");
    // Seconds of work even on two fast cores, after the box has opened.
    const int lines = 3'000'000 * testing::WindowOpeningFactor();
    const QByteArray input = QByteArray("5010498 388864\r\n").repeated(lines);
    if (fifo) {
      MAKE_FIFO("grid.txt");
    } else {
      WriteFile("grid.txt", input);
    }
    form.Edit11->setText("grid.txt");
    form.Edit12->setText("out.txt");
    QString box_text;
    QTimer stopper;
    connect(&stopper, &QTimer::timeout, [&] {
      auto* box = form.findChild<QProgressDialog*>();
      if (box == nullptr || !box->isVisible()) return;
      stopper.stop();
      box_text = box->labelText();
      if (stop == "Cancel") box->findChild<QPushButton*>()->click();
      if (stop == "Esc") QTest::keyClick(box, Qt::Key_Escape);
      if (stop == "box close") box->close();
      if (stop == "window close") form.close();
    });
    stopper.start(10);
    fixture_->Click("BitBtn2");
    QVERIFY2(box_text.startsWith("Converting grid.txt\n"), qPrintable(box_text));
    const QByteArray output = ReadFile("out.txt");
    if (fifo) {
      QCOMPARE(output, QByteArray());
    } else {
      QVERIFY(output.endsWith(" \r\n"));
      QVERIFY(output.count("\r\n") < lines);
      QVERIFY(ReadFile("grid.txt") == input);
    }
    QCOMPARE(fixture_->platform().errors, QStringList{"File not found."});
    QCOMPARE(fixture_->platform().beeps, 0);
    QTRY_COMPARE(form.isVisible(), stop != "window close");
    QVERIFY(!QFile::exists("Tervela.ini"));
  }

  // A run that outlasts its click ends in the window's event loop: the box
  // closes, every line is converted, the sound tells of success. The input is
  // a FIFO whose lines come only once the box shows, so the run outlasts its
  // click however fast the build.
  void longFileRunEndsAfterClick() {
    TForm1& form = fixture_->Start();
    form.show();
    fixture_->SetSystem(TLocalSystem::A, SevenParameterSystem());
    fixture_->Click("RadioButton8");
    const int lines = 1000;  // within a pipe's buffer
    MAKE_FIFO("grid.txt");
    form.Edit11->setText("grid.txt");
    form.Edit12->setText("out.txt");
    bool box_seen = false;
    QTimer writer;
    connect(&writer, &QTimer::timeout, [&] {
      auto* box = form.findChild<QProgressDialog*>();
      if (box_seen || box == nullptr || !box->isVisible()) return;
      box_seen = true;
      const QByteArray input = QByteArray("5010498 388864\r\n").repeated(lines);
      const int fd = testing::OpenDescriptor("grid.txt", testing::OpenMode::WriteNonBlocking);
      QVERIFY(fd >= 0 && ::write(fd, input.data(), input.size()) == input.size());
      ::close(fd);
    });
    writer.start(10);
    fixture_->Click("BitBtn2");
    QVERIFY(box_seen);
    QCOMPARE(form.findChild<QProgressDialog*>(), nullptr);
    QCOMPARE(ReadFile("out.txt").count("\r\n"), lines);
    QCOMPARE(fixture_->platform().errors, QStringList{"File not found."});
    QCOMPARE(fixture_->platform().beeps, 1);
  }

  // A file dropped on a file field puts its path there; the drop is a copy
  // even where the file manager proposes a move, so it keeps the file.
  void dropFile() {
    TForm1& form = fixture_->Start();
    for (QLineEdit* edit : {form.Edit11, form.Edit12}) {
      edit->setText("typed");
      QMimeData data;
      data.setUrls({QUrl::fromLocalFile("/data/in put.txt")});
      const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
      QDragEnterEvent enter(QPoint(5, 5), actions, &data, Qt::LeftButton, {});
      QApplication::sendEvent(edit, &enter);  // makes the field the drop's target
      QDropEvent drop(QPointF(5, 5), actions, &data, Qt::LeftButton, {});
      QApplication::sendEvent(edit, &drop);
      QCOMPARE(edit->text(), QStringLiteral("/data/in put.txt"));
      QCOMPARE(enter.dropAction(), Qt::CopyAction);
      QCOMPARE(drop.dropAction(), Qt::CopyAction);
    }
  }

  // The input picker fills Edit11 and leaves the working directory; it opens
  // in "321" where that exists and offers the last name again.
  void inputPicker() {
    TForm1& form = fixture_->Start();
    const QString start = QDir::currentPath();
    const QString chosen = fixture_->Folder() + "/elsewhere/in.txt";
    QVERIFY(QDir().mkpath(fixture_->Folder() + "/elsewhere"));
    fixture_->platform().answers = {chosen, kCancel};
    form.Edit11->setText("typed");
    fixture_->Click("Button1");
    QCOMPARE(form.Edit11->text(), chosen);
    QCOMPARE(QDir::currentPath(), start);
    QVERIFY(QDir().mkdir("321"));
    fixture_->Click("Button1");  // cancelled
    QCOMPARE(form.Edit11->text(), chosen);
    const auto& requests = fixture_->platform().open_requests;
    QCOMPARE(requests.size(), 2);
    QCOMPARE(requests[0].filter, QStringLiteral("Text file (*.txt)"));
    QCOMPARE(requests[0].default_suffix, QStringLiteral("txt"));
    QCOMPARE(requests[0].initial_folder, start);
    QCOMPARE(requests[0].last_name, QString());
    QCOMPARE(requests[1].initial_folder, start + "/321");
    QCOMPARE(requests[1].last_name, chosen);
  }

  // The output picker fills Edit12 and moves the working directory there,
  // so Exit then writes the ini file into that folder.
  void outputPickerMovesWorkingDirectory() {
    TForm1& form = fixture_->Start();
    const QString folder = fixture_->Folder() + "/results";
    QVERIFY(QDir().mkpath(folder));
    fixture_->platform().answers = {kCancel, folder + "/out.txt"};
    form.Edit12->setText("typed");
    fixture_->Click("Button2");  // cancelled
    QCOMPARE(form.Edit12->text(), QStringLiteral("typed"));
    QCOMPARE(Canonical(QDir::currentPath()), Canonical(fixture_->Folder()));
    fixture_->Click("Button2");
    QCOMPARE(form.Edit12->text(), folder + "/out.txt");
    QCOMPARE(Canonical(QDir::currentPath()), Canonical(folder));
    QCOMPARE(fixture_->platform().save_requests[0].filter, QStringLiteral("Text file (*.txt)"));
    QVERIFY(!QFile::exists(folder + "/out.txt"));
    fixture_->Click("Button5");
    QVERIFY(QFile::exists(folder + "/Tervela.ini"));
  }

  void saveSettings() {
    TForm1& form = fixture_->Start();
    const QString folder = fixture_->Folder() + "/sets";
    QVERIFY(QDir().mkpath(folder));
    form.Edit1->setText("1,5");
    form.Edit43->setText("GK zone 5");
    fixture_->platform().answers = {kCancel, folder + "/zone.set"};
    fixture_->Click("Button3");  // cancelled
    QVERIFY(QDir(folder).isEmpty());
    QCOMPARE(Canonical(QDir::currentPath()), Canonical(fixture_->Folder()));
    fixture_->Click("Button3");
    const QByteArray record = ReadFile(folder + "/zone.set");
    QVERIFY(record.startsWith("1,5\r\n"));
    QVERIFY(record.endsWith("GK zone 5\r\n\r\n"));
    QCOMPARE(Canonical(QDir::currentPath()), Canonical(folder));
    const TFileDialogOptions& options = fixture_->platform().save_requests[1];
    QCOMPARE(options.filter, QStringLiteral("Settings File (*.set)"));
    QCOMPARE(options.default_suffix, QStringLiteral("set"));
    QCOMPARE(fixture_->platform().errors, QStringList{"File not found."});
  }

  void loadSettings() {
    TForm1& form = fixture_->Start();
    const QString folder = fixture_->Folder() + "/sets";
    QVERIFY(QDir().mkpath(folder));
    WriteFile(folder + "/short.set", "a\r\nb\nc");
    for (int n : {1, 4, 13, 44}) fixture_->Edit(n)->setText("old");
    form.Edit39->setText("45");
    form.CheckBox1->setChecked(true);
    fixture_->platform().answers = {kCancel, folder + "/short.set", folder + "/missing.set"};
    fixture_->Click("Button4");  // cancelled
    QCOMPARE(form.Edit1->text(), QStringLiteral("old"));
    fixture_->Click("Button4");
    QCOMPARE(form.Edit1->text(), QStringLiteral("a"));
    QCOMPARE(form.Edit2->text(), QStringLiteral("b"));
    QCOMPARE(form.Edit3->text(), QStringLiteral("c"));
    QCOMPARE(form.Edit4->text(), QString());
    QCOMPARE(form.Edit13->text(), QString());
    QCOMPARE(form.Edit44->text(), QString());
    QCOMPARE(form.Edit39->text(), QStringLiteral("45"));
    QVERIFY(form.CheckBox1->isChecked());
    QCOMPARE(Canonical(QDir::currentPath()), Canonical(fixture_->Folder()));
    QCOMPARE(fixture_->platform().open_requests[1].filter, QStringLiteral("Settings File (*.set)"));
    // The next request offers the last name; a missing file changes nothing.
    fixture_->Click("Button4");
    QCOMPARE(fixture_->platform().open_requests[2].last_name, folder + "/short.set");
    QCOMPARE(fixture_->platform().errors, (QStringList{"File not found.", "File not found."}));
    QCOMPARE(form.Edit1->text(), QStringLiteral("a"));
    // An exception in a handler becomes its error box.
    fixture_->platform().out_of_memory = true;
    fixture_->Click("Button4");
    QCOMPARE(fixture_->platform().errors.last(), QStringLiteral("Out of memory."));
  }

  // A system from PROJ fills only its own eighteen edits and its name.
  void fillSystemFromProj() {
    TForm1& form = fixture_->Start();
    QStringList before;
    for (int n : kSettingsRecordEdits) before.append(fixture_->Edit(n)->text());
    fixture_->Click("Button8");  // cancelled
    fixture_->platform().system_answer = FillFromProj("EPSG:31467").value();
    fixture_->Click("Button8");
    QCOMPARE(fixture_->platform().system_requests, (QStringList{"system B", "system B"}));
    QCOMPARE(form.Edit44->text(), QStringLiteral("DHDN / 3-degree Gauss-Kruger zone 3"));
    QCOMPARE(form.Edit29->text(), QStringLiteral("3500000"));  // false easting
    QCOMPARE(form.Edit31->text(), QStringLiteral("9"));        // central meridian
    QCOMPARE(form.Edit25->cursorPosition(), 0);                 // df shows its start
    for (int line = 0; line < kSettingsLineCount; ++line) {
      const bool system_b = line >= kSystemTextCount && line != 2 * kSystemTextCount;
      if (!system_b) QCOMPARE(fixture_->Edit(kSettingsRecordEdits[line])->text(), before[line]);
    }
  }

  // A code is listed with its name and area of use; other text with a colon
  // is part of a name.
  void systemDialogSearch() {
    TSystemDialog dialog(QStringLiteral("system A"), '.');
    auto* matches = dialog.findChild<QTreeWidget*>();
    dialog.Search(QStringLiteral("EPSG:31467"));
    QCOMPARE(matches->topLevelItem(0)->text(1), QStringLiteral("DHDN / 3-degree Gauss-Kruger zone 3"));
    QVERIFY(matches->topLevelItem(0)->text(2).startsWith(QStringLiteral("Germany - former West Germany")));
    // No translation: derived from the Helmert transformation, at the place
    // given the better one there, at the operation picked its translation.
    QCOMPARE(dialog.chosen()->three_parameter->use, TOperationUse::Derived);
    dialog.SetPlace(QStringLiteral("53, 13"));
    QCOMPARE(dialog.chosen()->seven_parameter->code, std::string("EPSG:15869"));
    const std::vector<TOperationCandidate>& candidates = dialog.chosen()->operations;
    const auto west = std::find_if(candidates.begin(), candidates.end(),
                                   [](const TOperationCandidate& c) { return c.code == "EPSG:1777"; });
    dialog.ChooseOperation(true, static_cast<int>(west - candidates.begin()));
    QCOMPARE(dialog.chosen()->three_parameter->code, std::string("EPSG:1777"));
    QCOMPARE(dialog.chosen()->three_parameter->derived_at.latitude, 53.0);
    dialog.SetPlace(QStringLiteral("53; 13"));
    QVERIFY(!dialog.chosen().has_value());
    // Every control is reached by the keyboard and named.
    for (QWidget* control : dialog.findChildren<QWidget*>()) {
      if (qobject_cast<QLabel*>(control) != nullptr || control->focusPolicy() == Qt::NoFocus ||
          !control->isVisibleTo(&dialog)) {
        continue;
      }
      QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
      QVERIFY2((control->focusPolicy() & Qt::TabFocus) && !accessible->text(QAccessible::Name).isEmpty(),
               qPrintable(control->metaObject()->className()));
    }
    dialog.Search(QStringLiteral("Gauss-Kruger zone 3:"));
    QCOMPARE(matches->topLevelItemCount(), 0);
    QVERIFY(dialog.findChild<QPlainTextEdit*>()->toPlainText().startsWith(QStringLiteral("No Transverse")));
  }

  // Four points of system B moved 0.3 m north, the third 0.6 m more: the
  // dialog flags it, sorts by length and puts corr.N and corr.E into B's edits.
  void controlCheck() {
    fixture_->Start();
    fixture_->SetSystem(TLocalSystem::B, ThreeParameterSystem());
    std::array<std::string, kSystemTextCount> texts;
    for (int i = 0; i < kSystemTextCount; ++i) texts[i] = ThreeParameterSystem()[i].toStdString();
    const Result<TGridSystem> system = ReadGridSystem(texts, '.');
    QVERIFY(system.ok());
    QByteArray control = "# latitude longitude northing easting\n";
    for (int i = 0; i < 4; ++i) {
      TWorkingPoint p{.Longitude = 15.1 + 0.1 * i, .Latitude = 45.5 + 0.05 * (i % 2)};
      control += QByteArray::number(p.Latitude, 'f', 6) + '\t' + QByteArray::number(p.Longitude, 'f', 6);
      QVERIFY(GeographicToGrid(system.value(), TShiftMethod::ThreeParameter, p).ok());
      control += ' ' + QByteArray::number(p.Northing + (i == 2 ? 0.9 : 0.3), 'f', 6) + ' ' +
                 QByteArray::number(p.Easting, 'f', 6) + '\n';
    }
    WriteFile(fixture_->Folder() + "/control.txt", control);
    fixture_->platform().answers = {fixture_->Folder() + "/control.txt"};
    fixture_->Click("ButtonCheckB");
    auto* dialog = fixture_->form().findChild<TControlCheckDialog*>();
    QVERIFY(dialog && dialog->isVisible());
    QCOMPARE(dialog->TableText().split('\n')[2], QStringLiteral("4\t0.900\t0.000\t0.900\toutlier"));
    dialog->Table->sortItems(3, Qt::DescendingOrder);
    QCOMPARE(dialog->Table->item(0, 0)->text(), QStringLiteral("4"));
    dialog->UseButton->click();
    QVERIFY(qAbs(fixture_->Edit(26)->text().toDouble() - 0.3 / 30.9) < 2e-4);
    QVERIFY(qAbs(fixture_->Edit(27)->text().toDouble()) < 2e-4);
    QTRY_VERIFY(fixture_->form().findChild<TControlCheckDialog*>() == nullptr);
    QCOMPARE(fixture_->platform().errors, QStringList{"File not found."});
  }

 private:
  std::unique_ptr<TWindowFixture> fixture_;
};

QTEST_MAIN(TFileRequestsWindowTest)
#include "file_requests_window_test.moc"
