// "Convert Data" and the page controls around it, driven through the window.
#include <QAccessible>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTest>

#include "ui/tests/window_fixture.h"

using namespace tervela;

Q_DECLARE_METATYPE(tervela::TParameterTexts)

namespace {

const QString kWgsLatitude = QStringLiteral("45.22568");
const QString kWgsLongitude = QStringLiteral("13.58477");

// The number of decimals of a window number.
int Decimals(const QString& text, QChar separator = u'.') {
  const qsizetype at = text.indexOf(separator);
  return at < 0 ? 0 : int(text.size() - at - 1);
}

}  // namespace

class TSinglePointWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
  void init() {
    fixture_ = std::make_unique<TWindowFixture>();
    fixture_->Start();
    fixture_->platform().errors.clear();  // the missing ini file at start
  }
  void cleanup() { fixture_.reset(); }

  void unitCaptions_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("captions");
    const QString dn = QString::fromUtf8("°N"), de = QString::fromUtf8("°E");
    QTest::newRow("A to WGS84") << "RadioButton8" << QStringList{"mN", "mE", dn, de};
    QTest::newRow("B to WGS84") << "RadioButton9" << QStringList{"mN", "mE", dn, de};
    QTest::newRow("A to B") << "RadioButton3" << QStringList{"mN", "mE", "mN", "mE"};
    QTest::newRow("B to A") << "RadioButton4" << QStringList{"mN", "mE", "mN", "mE"};
    QTest::newRow("WGS84 to B") << "RadioButton2" << QStringList{dn, de, "mN", "mE"};
  }
  void unitCaptions() {
    QFETCH(QString, button);
    QFETCH(QStringList, captions);
    TForm1& form = fixture_->form();
    form.Edit39->setText("kept");
    // Chosen as a screen reader chooses it, which checks the button without a click.
    QAccessible::queryAccessibleInterface(fixture_->Find<QRadioButton>(button))
        ->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    QVERIFY(fixture_->Find<QRadioButton>(button)->isChecked());
    QCOMPARE((QStringList{form.Label21->text(), form.Label22->text(), form.Label23->text(),
                          form.Label24->text()}),
             captions);
    QCOMPARE(form.Edit39->text(), QStringLiteral("kept"));
    QCOMPARE(form.Label37->text(), QString::fromUtf8("°N"));
    QCOMPARE((QStringList{form.Edit39->accessibleName(), form.Edit40->accessibleName(),
                          form.Edit41->accessibleName(), form.Edit42->accessibleName()}),
             (QStringList{"Input data " + captions[0], "Input data " + captions[1],
                          "Output data " + captions[2], "Output data " + captions[3]}));
  }

  void knownResults_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("seven");
    QTest::addColumn<TParameterTexts>("systemA");
    QTest::addColumn<TParameterTexts>("systemB");
    QTest::addColumn<QString>("north");
    QTest::addColumn<QString>("east");
    QTest::addColumn<double>("expectedNorth");
    QTest::addColumn<double>("expectedEast");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<double>("tolerance");
    const TParameterTexts zero = ZeroShiftSystem(), three = ThreeParameterSystem(),
                          seven = SevenParameterSystem();
    QTest::newRow("WGS to A, no shift") << "RadioButton1" << false << zero << three << kWgsLatitude
                                        << kWgsLongitude << 5010498.551 << 388863.697 << 3 << 0.0;
    QTest::newRow("WGS to A, three") << "RadioButton1" << false << three << zero << kWgsLatitude
                                     << kWgsLongitude << 5009927.168 << 388948.141 << 3 << 0.0;
    QTest::newRow("WGS to B, three") << "RadioButton2" << false << zero << three << kWgsLatitude
                                     << kWgsLongitude << 5009927.168 << 388948.141 << 3 << 0.0;
    QTest::newRow("WGS to A, seven") << "RadioButton1" << true << seven << zero << kWgsLatitude
                                     << kWgsLongitude << 5009854.659 << 388748.192 << 3 << 0.0;
    QTest::newRow("WGS to B, seven") << "RadioButton2" << true << zero << seven << kWgsLatitude
                                     << kWgsLongitude << 5009854.659 << 388748.192 << 3 << 0.0;
    QTest::newRow("A to WGS, three") << "RadioButton8" << false << three << zero << "5009927.168"
                                     << "388948.141" << 45.22568 << 13.58477 << 8 << 1e-6;
    QTest::newRow("B to WGS, seven") << "RadioButton9" << true << zero << seven << "5009854.659"
                                     << "388748.192" << 45.22568 << 13.58477 << 8 << 1e-6;
    QTest::newRow("A to B, three") << "RadioButton3" << false << zero << three << "5010498.551"
                                   << "388863.697" << 5009927.168 << 388948.141 << 3 << 0.01;
    QTest::newRow("B to A, seven") << "RadioButton4" << true << zero << seven << "5009854.659"
                                   << "388748.192" << 5010498.551 << 388863.697 << 3 << 0.01;
  }
  void knownResults() {
    QFETCH(QString, button);
    QFETCH(bool, seven);
    QFETCH(TParameterTexts, systemA);
    QFETCH(TParameterTexts, systemB);
    QFETCH(QString, north);
    QFETCH(QString, east);
    QFETCH(double, expectedNorth);
    QFETCH(double, expectedEast);
    QFETCH(int, decimals);
    QFETCH(double, tolerance);
    TForm1& form = fixture_->form();
    fixture_->SetSystem(TLocalSystem::A, systemA);
    fixture_->SetSystem(TLocalSystem::B, systemB);
    fixture_->Click(button);
    form.CheckBox1->setChecked(seven);
    form.Edit39->setText(north);
    form.Edit40->setText(east);
    fixture_->Click("BitBtn3");
    QCOMPARE(fixture_->platform().errors, QStringList());
    QCOMPARE(Decimals(form.Edit41->text()), decimals);
    QCOMPARE(Decimals(form.Edit42->text()), decimals);
    QVERIFY2(qAbs(form.Edit41->text().toDouble() - expectedNorth) <= tolerance + 1e-9,
             qPrintable(form.Edit41->text()));
    QVERIFY2(qAbs(form.Edit42->text().toDouble() - expectedEast) <= tolerance + 1e-9,
             qPrintable(form.Edit42->text()));
    QCOMPARE(Decimals(form.Edit45->text()), 6);
    QCOMPARE(Decimals(form.Edit46->text()), 6);
  }

  // First press after start: the previous outputs were "0"; the same point
  // again gives no change.
  void changeReadouts() {
    TForm1& form = fixture_->form();
    fixture_->SetSystem(TLocalSystem::A, ZeroShiftSystem());
    form.Edit39->setText(kWgsLatitude);
    form.Edit40->setText(kWgsLongitude);
    fixture_->Click("BitBtn3");
    QCOMPARE(form.Edit41->text(), QStringLiteral("5010498.551"));
    QCOMPARE(form.Edit42->text(), QStringLiteral("388863.697"));
    QCOMPARE(form.Label27->text(), QStringLiteral("-5010498.551"));
    QCOMPARE(form.Label28->text(), QStringLiteral("-388863.697"));
    // A label's name replaces its text for a screen reader, so it carries the value.
    QCOMPARE(form.Label27->accessibleName(), QStringLiteral("Northing change -5010498.551"));
    QCOMPARE(form.Label28->accessibleName(), QStringLiteral("Easting change -388863.697"));
    // The whole change is visible, not just its first digits.
    for (QLabel* readout : {form.Label27, form.Label28}) {
      QVERIFY(readout->fontMetrics().horizontalAdvance(readout->text()) <= readout->width());
    }
    // With no datum shift the readouts are the typed point.
    QCOMPARE(form.Edit45->text(), QStringLiteral("45.225680"));
    QCOMPARE(form.Edit46->text(), QStringLiteral("13.584770"));
    fixture_->Click("BitBtn3");
    QCOMPARE(form.Label27->text(), QStringLiteral("0.000"));
    QCOMPARE(form.Label28->text(), QStringLiteral("0.000"));
    QCOMPARE(fixture_->platform().errors, QStringList());
  }

  void invertThenReverse() {
    TForm1& form = fixture_->form();
    fixture_->SetSystem(TLocalSystem::A, ThreeParameterSystem());
    form.Edit39->setText(kWgsLatitude);
    form.Edit40->setText(kWgsLongitude);
    fixture_->Click("BitBtn3");
    const QString readout_north = form.Label27->text();
    fixture_->Click("BitBtn1");
    QCOMPARE(form.Edit39->text(), QStringLiteral("5009927.168"));
    QCOMPARE(form.Edit41->text(), kWgsLatitude);
    fixture_->Click("RadioButton8");
    fixture_->Click("BitBtn3");
    QCOMPARE(fixture_->platform().errors, QStringList());
    QVERIFY(qAbs(form.Edit41->text().toDouble() - 45.22568) < 1e-6);
    QVERIFY(qAbs(form.Edit42->text().toDouble() - 13.58477) < 1e-6);
    QCOMPARE(Decimals(form.Edit41->text()), 8);
    // The readouts are the outputs with six decimals; the change readouts stay.
    QCOMPARE(form.Edit45->text(), QString::number(form.Edit41->text().toDouble(), 'f', 6));
    QCOMPARE(form.Edit46->text(), QString::number(form.Edit42->text().toDouble(), 'f', 6));
    QCOMPARE(form.Label27->text(), readout_north);
  }

  void invertMovesTextsUnparsed() {
    TForm1& form = fixture_->form();
    form.Edit39->setText("a");
    form.Edit40->setText("b");
    form.Edit41->setText("");
    form.Edit42->setText("d");
    fixture_->Click("BitBtn1");
    QCOMPARE((QStringList{form.Edit39->text(), form.Edit40->text(), form.Edit41->text(),
                          form.Edit42->text()}),
             (QStringList{"", "d", "a", "b"}));
    fixture_->Click("BitBtn1");
    QCOMPARE((QStringList{form.Edit39->text(), form.Edit40->text(), form.Edit41->text(),
                          form.Edit42->text()}),
             (QStringList{"a", "b", "", "d"}));
  }

  void resetThenConvert() {
    TForm1& form = fixture_->form();
    fixture_->SetSystem(TLocalSystem::A, ZeroShiftSystem());
    form.Edit39->setText(kWgsLatitude);
    form.Edit40->setText(kWgsLongitude);
    form.Edit11->setText("in.txt");
    fixture_->Click("BitBtn3");
    form.CheckBox2->setChecked(true);
    fixture_->Click("BitBtn4");
    for (QLineEdit* edit : {form.Edit11, form.Edit12, form.Edit39, form.Edit40, form.Edit41,
                            form.Edit42, form.Edit45, form.Edit46}) {
      QVERIFY2(edit->text().isEmpty(), qPrintable(edit->objectName()));
    }
    QCOMPARE(form.Label27->text(), QStringLiteral("-5010498.551"));
    QVERIFY(form.CheckBox2->isChecked());
    QCOMPARE(form.Edit9->text(), QStringLiteral("500000"));

    fixture_->Click("BitBtn3");
    QCOMPARE(fixture_->platform().errors, QStringList{"'' is not a valid floating point value."});
    // With the inputs typed again the conversion stops at the empty Edit41.
    form.Edit39->setText("45.3");
    form.Edit40->setText("13.6");
    fixture_->Click("BitBtn3");
    QCOMPARE(fixture_->platform().errors.size(), 2);
    QCOMPARE(fixture_->platform().errors.last(), QStringLiteral("'' is not a valid floating point value."));
    QVERIFY(form.Edit41->text().isEmpty() && form.Edit42->text().isEmpty());
    QVERIFY(form.Edit45->text().isEmpty() && form.Edit46->text().isEmpty());
    QCOMPARE(form.Label27->text(), QStringLiteral("-5010498.551"));
  }

  // A bad Edit42 leaves the new Label27 and nothing else changed.
  void badPreviousEasting() {
    TForm1& form = fixture_->form();
    fixture_->SetSystem(TLocalSystem::A, ZeroShiftSystem());
    form.Edit39->setText(kWgsLatitude);
    form.Edit40->setText(kWgsLongitude);
    form.Edit42->setText("x1");
    fixture_->Click("BitBtn3");
    QCOMPARE(fixture_->platform().errors, QStringList{"'x1' is not a valid floating point value."});
    QCOMPARE(form.Label27->text(), QStringLiteral("-5010498.551"));
    QCOMPARE(form.Label28->text(), QString());
    QCOMPARE(form.Edit41->text(), QStringLiteral("0"));
    QCOMPARE(form.Edit42->text(), QStringLiteral("x1"));
    QCOMPARE(form.Edit45->text(), QString());
  }

  void badInputs_data() {
    QTest::addColumn<QString>("north");
    QTest::addColumn<QString>("message");
    QTest::newRow("tab") << "\t45.2" << "'\t45.2' is not a valid floating point value.";
    QTest::newRow("comma") << "45,5" << "'45,5' is not a valid floating point value.";
    QTest::newRow("grouping") << "1.000,5" << "'1.000,5' is not a valid floating point value.";
    QTest::newRow("degree sign") << QString::fromUtf8("45.2°")
                                 << QString::fromUtf8("'45.2°' is not a valid floating point value.");
    QTest::newRow("overflow") << "1e400" << "Floating point overflow.";
  }
  void badInputs() {
    QFETCH(QString, north);
    QFETCH(QString, message);
    TForm1& form = fixture_->form();
    fixture_->SetSystem(TLocalSystem::A, ZeroShiftSystem());
    form.Edit39->setText(north);
    const QStringList before = ControlSnapshot(form);
    fixture_->Click("BitBtn3");
    QCOMPARE(fixture_->platform().errors, QStringList{message});
    QCOMPARE(ControlSnapshot(form), before);
  }

  void blanksAccepted() {
    TForm1& form = fixture_->form();
    fixture_->SetSystem(TLocalSystem::A, ZeroShiftSystem());
    form.Edit8->setText(" 0.9999 ");
    form.Edit39->setText("  45.22568 ");
    form.Edit40->setText(" 13.58477");
    fixture_->Click("BitBtn3");
    QCOMPARE(fixture_->platform().errors, QStringList());
    QCOMPARE(form.Edit41->text(), QStringLiteral("5010498.551"));
  }

  // The second system of A to B is read after the inversion; nothing is written.
  void invalidSecondSystem() {
    TForm1& form = fixture_->form();
    fixture_->SetSystem(TLocalSystem::A, ZeroShiftSystem());
    TParameterTexts b = ThreeParameterSystem();
    b[8] = "5e5m";
    fixture_->SetSystem(TLocalSystem::B, b);
    fixture_->Click("RadioButton3");
    form.Edit39->setText("5010498.551");
    form.Edit40->setText("388863.697");
    const QStringList before = ControlSnapshot(form);
    fixture_->Click("BitBtn3");
    QCOMPARE(fixture_->platform().errors, QStringList{"'5e5m' is not a valid floating point value."});
    QCOMPARE(ControlSnapshot(form), before);
  }

  void invalidFirstSystemReportedFirst() {
    TForm1& form = fixture_->form();
    TParameterTexts a = ZeroShiftSystem();
    a[3] = "";
    a[17] = "k";
    fixture_->SetSystem(TLocalSystem::A, a);
    form.Edit39->setText("bad");
    fixture_->Click("BitBtn3");
    QCOMPARE(fixture_->platform().errors, QStringList{"'' is not a valid floating point value."});
  }

  // A comma locale: the comma is the separator everywhere in the window.
  void commaLocale() {
    fixture_.reset();
    fixture_ = std::make_unique<TWindowFixture>(',');
    TForm1& form = fixture_->Start();
    TParameterTexts a = ZeroShiftSystem();
    a[7] = "0,9999";
    fixture_->SetSystem(TLocalSystem::A, a);
    form.Edit39->setText("45.5");
    form.Edit40->setText(QStringLiteral("13,58477"));
    fixture_->Click("BitBtn3");
    QCOMPARE(fixture_->platform().errors.last(),
             QStringLiteral("'45.5' is not a valid floating point value."));
    form.Edit39->setText(QStringLiteral("45,22568"));
    fixture_->Click("BitBtn3");
    QCOMPARE(form.Edit41->text(), QStringLiteral("5010498,551"));
    QCOMPARE(form.Edit42->text(), QStringLiteral("388863,697"));
    QCOMPARE(form.Label27->text(), QStringLiteral("-5010498,551"));
    QCOMPARE(form.Edit45->text(), QStringLiteral("45,225680"));
  }

 private:
  std::unique_ptr<TWindowFixture> fixture_;
};

QTEST_MAIN(TSinglePointWindowTest)
#include "single_point_window_test.moc"
