// The main window and the About box as the user first sees them.
#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QStyleOptionButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include "ui/clickable_label.h"
#include "ui/form2.h"
#include "ui/tests/window_fixture.h"

using namespace tervela;

namespace {

// Calls `inspect` with each modal window that appears, then closes it.
class TModalWatcher {
 public:
  explicit TModalWatcher(std::function<void(QWidget*)> inspect) : inspect_(std::move(inspect)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      if (QWidget* modal = QApplication::activeModalWidget()) {
        inspect_(modal);
        modal->close();
      }
    });
    timer_.start(10);
  }

 private:
  std::function<void(QWidget*)> inspect_;
  QTimer timer_;
};

}  // namespace

class TWindowLayoutTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
  void init() {
    fixture_ = std::make_unique<TWindowFixture>();
    fixture_->Start().show();
  }
  void cleanup() { fixture_.reset(); }

  void window() {
    TForm1& form = fixture_->form();
    QCOMPARE(form.windowTitle(), QStringLiteral("Tervela 1.0"));
    QCOMPARE(form.size(), QSize(401, 543));
    QCOMPARE(form.minimumSize(), QSize(401, 543));
    QCOMPARE(form.maximumSize(), QSize(401, 543));
    QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(form.windowFlags() & Qt::WindowMinimizeButtonHint);
    QCOMPARE(form.PageControl1->count(), 3);
    QCOMPARE(form.PageControl1->tabText(0), QStringLiteral("Conversion"));
    QCOMPARE(form.PageControl1->tabText(1), QStringLiteral("Settings"));
    QCOMPARE(form.PageControl1->tabText(2), QStringLiteral("Help"));
    QCOMPARE(form.PageControl1->currentWidget(), form.TabSheet1);
  }

  void controls_data() {
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("geometry");  // width -1: sized to the caption
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("bold");
    const auto row = [](const char* name, const char* parent, QRect geometry, const QString& caption,
                        bool bold = false) {
      QTest::newRow(name) << QString::fromLatin1(parent) << geometry << caption << bold;
    };
    const QString deg_n = QString::fromUtf8("°N");
    const QString deg_e = QString::fromUtf8("°E");
    row("PageControl1", "Form1", {0, 0, 401, 513}, {});
    row("Label1", "Form1", {24, 520, 57, 16}, "About ...", true);
    row("Button5", "Form1", {309, 516, 86, 25}, "Exit", true);
    row("Label29", "TabSheet1", {24, 22, -1, -1}, "Input File");
    row("Edit11", "TabSheet1", {8, 40, 225, 19}, "");
    row("Button1", "TabSheet1", {233, 40, 25, 19}, "...");
    row("Label25", "TabSheet1", {312, 22, -1, -1}, "Input Data");
    row("Label21", "TabSheet1", {284, 42, 18, 13}, deg_n);
    row("Edit39", "TabSheet1", {304, 40, 81, 19}, "0", true);
    row("Label22", "TabSheet1", {284, 66, 18, 13}, deg_e);
    row("Edit40", "TabSheet1", {304, 64, 81, 19}, "0", true);
    row("GroupBox3", "TabSheet1", {8, 88, 385, 105}, "Input - Output File / Data Setting");
    row("RadioButton1", "GroupBox3", {8, 25, 113, 17}, "WGS84  to  TM - A");
    row("RadioButton2", "GroupBox3", {8, 49, 113, 17}, "WGS84  to  TM - B");
    row("RadioButton8", "GroupBox3", {136, 25, 113, 17}, "TM - A  to  WGS84");
    row("RadioButton9", "GroupBox3", {136, 49, 113, 17}, "TM - B  to  WGS84");
    row("RadioButton3", "GroupBox3", {272, 25, 105, 17}, "TM - A  to  TM - B");
    row("RadioButton4", "GroupBox3", {272, 49, 105, 17}, "TM - B  to  TM - A");
    row("CheckBox1", "TabSheet1", {16, 162, 273, 17},
        "Use 7 parameters conversion instead of 3 parameters");
    row("Label30", "TabSheet1", {24, 205, -1, -1}, "Output File");
    row("Edit12", "TabSheet1", {8, 223, 225, 19}, "");
    row("Button2", "TabSheet1", {233, 223, 25, 19}, "...");
    row("BitBtn1", "TabSheet1", {300, 221, 86, 25}, "Invert");
    row("CheckBox2", "TabSheet1", {16, 251, 145, 17}, "Generate AutoCad scripts");
    row("Label26", "TabSheet1", {312, 255, -1, -1}, "Output Data");
    row("Label37", "TabSheet1", {290, 274, -1, -1}, deg_n);
    row("Edit45", "TabSheet1", {304, 272, 81, 19}, "", true);
    row("Label38", "TabSheet1", {290, 298, -1, -1}, deg_e);
    row("Edit46", "TabSheet1", {304, 296, 81, 19}, "", true);
    row("ComboBox1", "TabSheet1", {152, 304, 81, 21}, QString::fromUtf8("dd.ddddd°"));
    row("Label27", "TabSheet1", {168, 324, 113, 12}, "");
    row("Label23", "TabSheet1", {284, 322, 18, 13}, "mN");
    row("Edit41", "TabSheet1", {304, 320, 81, 19}, "0", true);
    row("Label28", "TabSheet1", {168, 348, 113, 12}, "");
    row("Label24", "TabSheet1", {284, 346, 18, 13}, "mE");
    row("Edit42", "TabSheet1", {304, 344, 81, 19}, "0", true);
    row("BitBtn2", "TabSheet1", {8, 376, 86, 25}, "Convert File", true);
    row("BitBtn4", "TabSheet1", {160, 376, 86, 25}, "Reset all data");
    row("BitBtn3", "TabSheet1", {300, 376, 86, 25}, "Convert Data", true);
    row("Button6", "TabSheet1", {176, 456, 60, 25}, "Load .ini");
    row("CheckBox3", "TabSheet1", {16, 444, 137, 17}, "Write map files");
    row("Button9", "TabSheet1", {300, 440, 86, 25}, "Show points");
    row("Label39", "TabSheet1", {68, 412, 18, 13}, QString::fromUtf8("\u03B3"));
    row("Edit47", "TabSheet1", {88, 410, 198, 19}, "", true);
    row("Label40", "TabSheet1", {284, 412, 18, 13}, "k");
    row("Edit48", "TabSheet1", {304, 410, 81, 19}, "", true);
    row("CheckBox4", "TabSheet1", {164, 444, 56, 17}, "DXF");
    row("CheckBox5", "TabSheet1", {226, 444, 56, 17}, "CSV");
    row("Label2", "TabSheet2", {8, 22, -1, -1}, "Variables");
    const char* rows[][2] = {{"Label3", "dx [m]"},       {"Label4", "dy [m]"},
                             {"Label5", "dz [m]"},       {"Label6", "da [m]"},
                             {"Label7", "df"},           {"Label12", "corr.N [\"]"},
                             {"Label13", "corr.E [\"]"}, {"Label8", "Scale Factor"},
                             {"Label9", "False Easting [m]"}, {"Label10", "False Northing [m]"},
                             {"Label11", "Central Meridian"}, {"Label14", "Tx [m]"},
                             {"Label15", "Ty [m]"},      {"Label16", "Tz [m]"},
                             {"Label17", "Rx [\"]"},     {"Label18", "Ry [\"]"},
                             {"Label19", "Rz [\"]"},     {"Label20", "k [ppm]"}};
    for (int i = 0; i < 18; ++i) {
      row(rows[i][0], "TabSheet2", {8, 48 + 24 * i, -1, -1}, QString::fromLatin1(rows[i][1]));
    }
    row("GroupBox1", "TabSheet2", {96, 6, 89, 473}, "WGS84 to A");
    row("GroupBox2", "TabSheet2", {192, 6, 89, 473}, "WGS84 to B");
    row("Edit43", "GroupBox1", {8, 16, 73, 19}, "");
    row("Edit44", "GroupBox2", {8, 16, 73, 19}, "");
    const int column_a[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 13, 14, 15, 16, 17, 18, 19, 20};
    for (int i = 0; i < 18; ++i) {
      const QByteArray a = "Edit" + QByteArray::number(column_a[i]);
      const QByteArray b = "Edit" + QByteArray::number(21 + i);
      row(a.constData(), "GroupBox1", {8, 40 + 24 * i, 73, 19}, "");
      row(b.constData(), "GroupBox2", {8, 40 + 24 * i, 73, 19}, "");
    }
    row("Label33", "TabSheet2", {288, 72, -1, -1}, "3p Conversion Data");
    row("Label34", "TabSheet2", {288, 128, -1, -1}, "Common 3p 7p Data");
    row("Label32", "TabSheet2", {288, 248, -1, -1}, "TM Projection Data");
    row("Label35", "TabSheet2", {288, 384, -1, -1}, "7p Conversion Data");
    row("Button4", "TabSheet2", {304, 424, 86, 25}, "Load settings", true);
    row("Button3", "TabSheet2", {304, 456, 86, 25}, "Save settings", true);
    row("Button7", "TabSheet2", {292, 180, 98, 25}, "A from PROJ...");
    row("Button8", "TabSheet2", {292, 212, 98, 25}, "B from PROJ...");
    row("Label36", "TabSheet2", {288, 284, -1, -1}, "Control Points");
    row("ButtonCheckA", "TabSheet2", {304, 302, 86, 25}, "Check A ...", false);
    row("ButtonCheckB", "TabSheet2", {304, 334, 86, 25}, "Check B ...", false);
    row("Memo1", "TabSheet3", {0, 16, 393, 457}, {});
  }

  void controls() {
    QFETCH(QString, parent);
    QFETCH(QRect, geometry);
    QFETCH(QString, caption);
    QFETCH(bool, bold);
    const QString name = QString::fromLatin1(QTest::currentDataTag());
    auto* control = fixture_->Find<QWidget>(name);
    QVERIFY(control != nullptr);
    QCOMPARE(control->parentWidget()->objectName(), parent);
    if (geometry.width() < 0) {
      QCOMPARE(control->pos(), geometry.topLeft());
    } else {
      QCOMPARE(control->geometry(), geometry);
    }
    QCOMPARE(control->font().bold(), bold);
    if (auto* label = qobject_cast<QLabel*>(control)) QCOMPARE(label->text(), caption);
    if (auto* button = qobject_cast<QAbstractButton*>(control)) QCOMPARE(button->text(), caption);
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
      QCOMPARE(edit->text(), caption);
      QVERIFY(!edit->hasFrame());
    }
    if (auto* group = qobject_cast<QGroupBox*>(control)) QCOMPARE(group->title(), caption);
    if (auto* combo = qobject_cast<QComboBox*>(control)) QCOMPARE(combo->currentText(), caption);
  }

  void startState() {
    TForm1& form = fixture_->form();
    QVERIFY(form.RadioButton1->isChecked());
    for (QRadioButton* other : {form.RadioButton2, form.RadioButton8, form.RadioButton9,
                                form.RadioButton3, form.RadioButton4}) {
      QVERIFY(!other->isChecked());
    }
    QVERIFY(!form.CheckBox1->isChecked());
    QVERIFY(!form.CheckBox2->isChecked());
    QVERIFY(form.Edit45->isReadOnly());
    QVERIFY(form.Edit46->isReadOnly());
    QVERIFY(!form.Edit39->isReadOnly() && !form.Edit41->isReadOnly() && !form.Edit1->isReadOnly());
    QVERIFY(!(form.Edit39->focusPolicy() & Qt::TabFocus));
    QVERIFY(form.Edit40->focusPolicy() & Qt::TabFocus);
    QCOMPARE(form.ComboBox1->count(), 3);
    QCOMPARE(form.ComboBox1->itemText(1), QString::fromUtf8("dd°mm.mm'"));
    QCOMPARE(form.ComboBox1->itemText(2), QString::fromUtf8("dd°mm'ss.s'' "));
    QVERIFY(form.ComboBox1->isEditable());
  }

  void hiddenControls() {
    TForm1& form = fixture_->form();
    QVERIFY(form.isVisible());
    QVERIFY(!form.ComboBox1->isVisible());
    QVERIFY(!form.Button6->isVisible());
    QVERIFY(form.BitBtn3->isVisible());
  }

  void conversionTabOrder() {
    TForm1& form = fixture_->form();
    const QList<QWidget*> expected = {
        form.Edit40,       form.BitBtn3,      form.Edit11,       form.Button1,
        form.Edit12,       form.Button2,      form.BitBtn2,      form.RadioButton1,
        form.RadioButton2, form.RadioButton8, form.RadioButton9, form.RadioButton3,
        form.RadioButton4, form.CheckBox1,    form.CheckBox2,    form.Edit41,
        form.Edit42,       form.BitBtn1,      form.BitBtn4,      form.Edit45,
        form.Edit46,       fixture_->Find<QWidget>("CheckBox3"), fixture_->Find<QWidget>("Button9"), form.Edit47,
        form.Edit48,       fixture_->Find<QWidget>("CheckBox4"), fixture_->Find<QWidget>("CheckBox5")};
    QCOMPARE(TabStops(form.Edit39, form.TabSheet1, expected.size()), expected);
  }

  void settingsTabOrder() {
    TForm1& form = fixture_->form();
    QList<QWidget*> expected = {form.Edit43};
    for (int n : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 13, 14, 15, 16, 17, 18, 19, 20}) {
      expected.append(fixture_->Edit(n));
    }
    expected.append(form.Edit44);
    for (int n = 21; n <= 38; ++n) expected.append(fixture_->Edit(n));
    expected.append(form.Button4);
    expected.append(form.Button3);
    expected.append(form.Button7);
    expected.append(form.Button8);
    expected.append(form.ButtonCheckA);
    expected.append(form.ButtonCheckB);
    QCOMPARE(TabStops(form.Edit43, form.TabSheet2, expected.size() - 1),
             expected.mid(1));
  }

  // A screen reader finds each edit, button, radio button and check box of
  // both pages by a name of its own.
  void accessibleNames() {
    TForm1& form = fixture_->form();
    for (const auto& [page, count] :
         {std::pair{form.TabSheet1, 28}, std::pair{form.TabSheet2, 44}}) {
      QStringList names;
      for (QWidget* control : page->findChildren<QWidget*>()) {
        const bool kind =
            qobject_cast<QLineEdit*>(control) || qobject_cast<QAbstractButton*>(control);
        if (!kind || !control->isVisibleTo(page)) continue;
        names.append(QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name));
      }
      QCOMPARE(names.size(), count);
      QVERIFY2(!names.contains(QString()), qPrintable(names.join(" | ")));
      QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), names.size());
    }
  }

  // Every caption fits inside its control with the chosen font.
  void captionsFit() {
    for (QAbstractButton* button : fixture_->form().findChildren<QAbstractButton*>()) {
      if (button->objectName().isEmpty()) continue;
      QStyleOptionButton option;
      option.initFrom(button);
      int decoration = 6;
      if (qobject_cast<QRadioButton*>(button)) {
        decoration = button->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, &option, button) +
                     button->style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, &option, button);
      } else if (qobject_cast<QCheckBox*>(button)) {
        decoration = button->style()->pixelMetric(QStyle::PM_IndicatorWidth, &option, button) +
                     button->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, &option, button);
      }
      const int needed = button->fontMetrics().horizontalAdvance(button->text()) + decoration;
      QVERIFY2(needed <= button->width(), qPrintable(button->objectName()));
      QVERIFY2(button->fontMetrics().height() <= button->height(), qPrintable(button->objectName()));
    }
    for (QLabel* label : fixture_->form().findChildren<QLabel*>()) {
      const int needed = label->fontMetrics().horizontalAdvance(label->text());
      QVERIFY2(needed <= label->width(),
               qPrintable(QStringLiteral("%1: %2 > %3").arg(label->objectName()).arg(needed).arg(label->width())));
    }
    QLabel* unit = fixture_->form().Label21;
    unit->setText(QStringLiteral("mN"));
    QVERIFY(unit->fontMetrics().horizontalAdvance(unit->text()) <= unit->width());
  }

  void helpText() {
    QPlainTextEdit* memo = fixture_->form().Memo1;
    QVERIFY(memo->isReadOnly());
    QVERIFY(memo->textInteractionFlags() & Qt::TextSelectableByMouse);
    QCOMPARE(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(memo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    const QStringList lines = memo->toPlainText().split(u'\n');
    QCOMPARE(lines.size(), 28);
    QCOMPARE(lines[0], QString(63, u'_'));
    QCOMPARE(lines[14], QString(63, u'_'));
    QCOMPARE(lines[23], QString(64, u'_'));
    QCOMPARE(lines[2], QString());
    QCOMPARE(lines[3], QStringLiteral("For WGS84  to  TM-A  &  WGS84  to  TM-B*"));
    QCOMPARE(lines[8],
             QStringLiteral("For TM-B to WGS84  & TM-A to WGS84  &  TM-A to TM-B  &  TM-B to TM-A"));
    QCOMPARE(lines[17], QString::fromUtf8("wrong : °N  45° 13' 32.45''"));
    QCOMPARE(lines[18], QString(13, u' ') + QString::fromUtf8("°E  13° 35' 5.17''"));
    QCOMPARE(lines[20], QString(13, u' ') + QString::fromUtf8("°E  13.58477"));
    QCOMPARE(lines[22], QStringLiteral(
                            "Data Decimal Separator must be point or comma depend upon Windows settings"));
    QCOMPARE(lines[27], QStringLiteral(" B = second local system"));
    // Every line is shown whole: nothing scrolls.
    const QSizeF text_area = QSizeF(memo->size()) - 2 * QSizeF(memo->document()->documentMargin(),
                                                              memo->document()->documentMargin());
    for (const QString& line : lines) {
      QVERIFY2(memo->fontMetrics().horizontalAdvance(line) < text_area.width(), qPrintable(line));
    }
    QVERIFY(lines.size() * memo->fontMetrics().lineSpacing() < text_area.height());
  }

  // Each click on "About ..." shows a fresh modal About box, gone once closed.
  void aboutBox() {
    QList<QPointer<QWidget>> boxes;
    TModalWatcher watcher([&](QWidget* modal) {
      boxes.append(modal);
      auto* about = qobject_cast<TForm2*>(modal);
      QVERIFY(about != nullptr);
      QCOMPARE(about->windowTitle(), QStringLiteral("About..."));
      QCOMPARE(about->size(), QSize(199, 264));
      QCOMPARE(about->minimumSize(), about->maximumSize());
      QVERIFY(!(about->windowFlags() & Qt::WindowMaximizeButtonHint));
      QCOMPARE(about->Label1->text(), QStringLiteral("Tervela"));
      QCOMPARE(about->Label3->text(), QStringLiteral("Version 1.0"));
      QCOMPARE(about->Panel1->geometry(), QRect(26, 32, 145, 121));
      QCOMPARE(about->Image1->geometry(), QRect(9, 8, 129, 105));
      QCOMPARE(about->Image1->pixmap().size(), QSize(123, 98));
      for (QLabel* line : {about->Label2, about->Label4, about->Label5, about->Label6, about->Label7}) {
        QVERIFY(!line->text().isEmpty());
        QVERIFY2(line->geometry().right() < about->width(), qPrintable(line->text()));
      }
    });
    QLabel* about_label = fixture_->form().Label1;
    QTest::mouseClick(about_label, Qt::LeftButton);
    QCOMPARE(boxes.size(), 1);
    QVERIFY(boxes[0].isNull());
    QTest::mouseClick(about_label, Qt::LeftButton);
    QCOMPARE(boxes.size(), 2);
    QVERIFY(boxes[1].isNull());
    QVERIFY(fixture_->platform().errors.size() == 1);  // only the missing ini file at start
  }

 private:
  // The widgets that Tab reaches from `start`, in order, within `page`.
  static QList<QWidget*> TabStops(QWidget* start, QWidget* page, qsizetype count) {
    QList<QWidget*> stops;
    for (QWidget* w = start->nextInFocusChain(); w != start && stops.size() < count;
         w = w->nextInFocusChain()) {
      const bool on_page = page->isAncestorOf(w);
      if (on_page && w->isVisibleTo(page) && (w->focusPolicy() & Qt::TabFocus)) stops.append(w);
    }
    return stops;
  }

  std::unique_ptr<TWindowFixture> fixture_;
};

QTEST_MAIN(TWindowLayoutTest)
#include "window_layout_test.moc"
