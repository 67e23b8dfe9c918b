// The Conversion page: its controls, their tab order and its handlers.

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "conversion/single_point.h"
#include "ui/control_text.h"
#include "ui/file_drop.h"
#include "ui/form1.h"
#include "ui/look.h"
#include "ui/map_controls.h"
#include "ui/record_file_controls.h"

namespace tervela {
namespace {

// The unit labels end 2 pixels left of the fields they name.
constexpr int kUnitRight = 302;

// A radio button or check box with its caption at its place.
template <class Button>
Button* MakeCaptioned(QWidget* parent, const char* name, const QRect& geometry,
                      const QString& caption) {
  auto* button = new Button(caption, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setGeometry(geometry);
  return button;
}

// A change readout keeps the right edge of its 33-pixel slot (x 281) but
// reaches left over the free space, so a change of kilometres shows whole
// instead of being cut to its first digits.
QLabel* MakeReadoutLabel(QWidget* parent, const char* name, int top) {
  auto* label = new QLabel(parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setGeometry(168, top, 113, 12);
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  label->setFont(ReadoutFont());
  SetTextColour(label, kMaroon);
  return label;
}

// Writes a text only where it changed, so untouched fields keep their
// cursor and undo history.
template <class TControl>
void Show(TControl* control, const std::string& bytes) {
  const QString text = Text(bytes);
  if (control->text() != text) control->setText(text);
}

void MakeReadOnly(QLineEdit* edit) {
  edit->setReadOnly(true);
  SetBackground(edit, kMenuColour);
}

}  // namespace

void TForm1::BuildConversionPage() {
  QWidget* page = TabSheet1;
  const QString degrees_north = QString::fromUtf8("°N");
  const QString degrees_east = QString::fromUtf8("°E");

  Label29 = MakeLabel(page, "Label29", {24, 22}, QStringLiteral("Input File"), kGreen);
  Edit11 = MakeEdit(page, "Edit11", {8, 40, 225, 19});
  AcceptFileDrops(Edit11);
  Button1 = MakeButton(page, "Button1", {233, 40, 25, 19}, QStringLiteral("..."));
  Label25 = MakeLabel(page, "Label25", {312, 22}, QStringLiteral("Input Data"), kRed);
  Label21 = MakeUnitLabel(page, "Label21", kUnitRight, 42, degrees_north);
  Edit39 = MakeEdit(page, "Edit39", {304, 40, 81, 19}, QStringLiteral("0"), TWeight::Bold);
  Edit39->setFocusPolicy(Qt::ClickFocus);
  Label22 = MakeUnitLabel(page, "Label22", kUnitRight, 66, degrees_east);
  Edit40 = MakeEdit(page, "Edit40", {304, 64, 81, 19}, QStringLiteral("0"), TWeight::Bold);

  GroupBox3 = new QGroupBox(QStringLiteral("Input - Output File / Data Setting"), page);
  GroupBox3->setObjectName(QStringLiteral("GroupBox3"));
  GroupBox3->setGeometry(8, 88, 385, 105);
  RadioButton1 = MakeCaptioned<QRadioButton>(GroupBox3, "RadioButton1", {8, 25, 113, 17},
                                 QStringLiteral("WGS84  to  TM - A"));
  RadioButton2 = MakeCaptioned<QRadioButton>(GroupBox3, "RadioButton2", {8, 49, 113, 17},
                                 QStringLiteral("WGS84  to  TM - B"));
  RadioButton8 = MakeCaptioned<QRadioButton>(GroupBox3, "RadioButton8", {136, 25, 113, 17},
                                 QStringLiteral("TM - A  to  WGS84"));
  RadioButton9 = MakeCaptioned<QRadioButton>(GroupBox3, "RadioButton9", {136, 49, 113, 17},
                                 QStringLiteral("TM - B  to  WGS84"));
  RadioButton3 = MakeCaptioned<QRadioButton>(GroupBox3, "RadioButton3", {272, 25, 105, 17},
                                 QStringLiteral("TM - A  to  TM - B"));
  RadioButton4 = MakeCaptioned<QRadioButton>(GroupBox3, "RadioButton4", {272, 49, 105, 17},
                                 QStringLiteral("TM - B  to  TM - A"));
  RadioButton1->setChecked(true);
  // Lies inside the group box's frame but belongs to the page.
  CheckBox1 = MakeCaptioned<QCheckBox>(page, "CheckBox1", {16, 162, 273, 17},
                           QStringLiteral("Use 7 parameters conversion instead of 3 parameters"));

  Label30 = MakeLabel(page, "Label30", {24, 205}, QStringLiteral("Output File"), kGreen);
  Edit12 = MakeEdit(page, "Edit12", {8, 223, 225, 19});
  AcceptFileDrops(Edit12);
  Button2 = MakeButton(page, "Button2", {233, 223, 25, 19}, QStringLiteral("..."));
  BitBtn1 = MakeButton(page, "BitBtn1", {300, 221, 86, 25}, QStringLiteral("Invert"), kRed);
  CheckBox2 = MakeCaptioned<QCheckBox>(page, "CheckBox2", {16, 251, 145, 17},
                           QStringLiteral("Generate AutoCad scripts"));
  Label26 = MakeLabel(page, "Label26", {312, 255}, QStringLiteral("Output Data"), kRed);
  Label37 = MakeLabel(page, "Label37", {290, 274}, degrees_north);
  Edit45 = MakeEdit(page, "Edit45", {304, 272, 81, 19}, {}, TWeight::Bold);
  MakeReadOnly(Edit45);
  Label38 = MakeLabel(page, "Label38", {290, 298}, degrees_east);
  Edit46 = MakeEdit(page, "Edit46", {304, 296, 81, 19}, {}, TWeight::Bold);
  MakeReadOnly(Edit46);

  // Offers angle formats but is never shown and never read: every angle on
  // the page is decimal degrees.
  ComboBox1 = new QComboBox(page);
  ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
  ComboBox1->setGeometry(152, 304, 81, 21);
  ComboBox1->setEditable(true);
  ComboBox1->addItems({QString::fromUtf8("dd.ddddd°"), QString::fromUtf8("dd°mm.mm'"),
                       QString::fromUtf8("dd°mm'ss.s'' ")});
  ComboBox1->hide();

  Label27 = MakeReadoutLabel(page, "Label27", 324);
  Label23 = MakeUnitLabel(page, "Label23", kUnitRight, 322, QStringLiteral("mN"));
  Edit41 = MakeEdit(page, "Edit41", {304, 320, 81, 19}, QStringLiteral("0"), TWeight::Bold);
  Label28 = MakeReadoutLabel(page, "Label28", 348);
  Label24 = MakeUnitLabel(page, "Label24", kUnitRight, 346, QStringLiteral("mE"));
  Edit42 = MakeEdit(page, "Edit42", {304, 344, 81, 19}, QStringLiteral("0"), TWeight::Bold);

  BitBtn2 = MakeButton(page, "BitBtn2", {8, 376, 86, 25}, QStringLiteral("Convert File"), kGreen,
                       TWeight::Bold);
  BitBtn4 = MakeButton(page, "BitBtn4", {160, 376, 86, 25}, QStringLiteral("Reset all data"));
  BitBtn3 = MakeButton(page, "BitBtn3", {300, 376, 86, 25}, QStringLiteral("Convert Data"), kRed,
                       TWeight::Bold);
  // Reads the ini file like the start does; never shown.
  Button6 = MakeButton(page, "Button6", {176, 456, 60, 25}, QStringLiteral("Load .ini"));
  Button6->hide();
  map_controls = new TMapControls(page);
  Label39 = MakeUnitLabel(page, "Label39", 86, 412, QString::fromUtf8("\xCE\xB3"));
  Edit47 = MakeEdit(page, "Edit47", {88, 410, 198, 19}, {}, TWeight::Bold);
  MakeReadOnly(Edit47);
  Label40 = MakeUnitLabel(page, "Label40", kUnitRight, 412, QStringLiteral("k"));
  Edit48 = MakeEdit(page, "Edit48", {304, 410, 81, 19}, {}, TWeight::Bold);
  MakeReadOnly(Edit48);
  record_file_controls = new TRecordFileControls(page);
  NameConversionControls();
}

void TForm1::SetConversionTabOrder() {
  QWidget* const order[] = {Edit39,  Edit40,       BitBtn3,      Edit11,       Button1,
                            Edit12,  Button2,      BitBtn2,      RadioButton1, RadioButton2,
                            RadioButton8, RadioButton9, RadioButton3, RadioButton4, CheckBox1,
                            CheckBox2, Edit41,     Edit42,       BitBtn1,      BitBtn4,
                            Button6, Edit45,       Edit46,       ComboBox1};
  for (std::size_t i = 1; i < std::size(order); ++i) {
    setTabOrder(order[i - 1], order[i]);
  }
  setTabOrder(ComboBox1, map_controls->CheckBox3);
  setTabOrder(map_controls->CheckBox3, map_controls->Button9);
  setTabOrder(map_controls->Button9, Edit47);
  setTabOrder(Edit47, Edit48);
  setTabOrder(Edit48, record_file_controls->CheckBox4);
  setTabOrder(record_file_controls->CheckBox4, record_file_controls->CheckBox5);
}

TConversionDirection TForm1::CurrentDirection() const {
  if (RadioButton2->isChecked()) return TConversionDirection::WgsToB;
  if (RadioButton8->isChecked()) return TConversionDirection::AToWgs;
  if (RadioButton9->isChecked()) return TConversionDirection::BToWgs;
  if (RadioButton3->isChecked()) return TConversionDirection::AToB;
  if (RadioButton4->isChecked()) return TConversionDirection::BToA;
  return TConversionDirection::WgsToA;
}

TShiftMethod TForm1::CurrentMethod() const {
  return CheckBox1->isChecked() ? TShiftMethod::SevenParameter : TShiftMethod::ThreeParameter;
}

Status TForm1::ShowUnits(TConversionDirection direction) {
  const auto captions = UnitCaptions(direction);
  QLabel* const labels[] = {Label21, Label22, Label23, Label24};
  for (std::size_t i = 0; i < captions.size(); ++i) {
    labels[i]->setText(QString::fromUtf8(captions[i].data(), qsizetype(captions[i].size())));
  }
  NameCoordinateFields();
  return {};
}

Status TForm1::RadioButton1Click() { return ShowUnits(TConversionDirection::WgsToA); }
Status TForm1::RadioButton2Click() { return ShowUnits(TConversionDirection::WgsToB); }
Status TForm1::RadioButton8Click() { return ShowUnits(TConversionDirection::AToWgs); }
Status TForm1::RadioButton9Click() { return ShowUnits(TConversionDirection::BToWgs); }
Status TForm1::RadioButton3Click() { return ShowUnits(TConversionDirection::AToB); }
Status TForm1::RadioButton4Click() { return ShowUnits(TConversionDirection::BToA); }

// Invert: the outputs become the inputs and the inputs the outputs, texts unchanged.
Status TForm1::BitBtn1Click() {
  const QString input_north = Edit39->text();
  const QString input_east = Edit40->text();
  Edit39->setText(Edit41->text());
  Edit40->setText(Edit42->text());
  Edit41->setText(input_north);
  Edit42->setText(input_east);
  return {};
}

// Reset all data: the file names and the coordinate fields, in this order.
Status TForm1::BitBtn4Click() {
  for (QLineEdit* field :
       {Edit11, Edit12, Edit39, Edit40, Edit41, Edit42, Edit45, Edit46, Edit47, Edit48}) {
    field->clear();
  }
  return {};
}

Status TForm1::Button1Click() {
  if (const auto name = OpenDialog1.Execute(platform_)) Edit11->setText(*name);
  return {};
}

Status TForm1::Button2Click() {
  if (const auto name = SaveDialog1.Execute(platform_)) Edit12->setText(*name);
  return {};
}

// Convert Data. Written back also on an error: a bad Edit42 in the
// directions from WGS84 leaves a new Label27.
Status TForm1::BitBtn3Click() {
  TConversionPage page{
      .InputNorth = Bytes(Edit39->text()),
      .InputEast = Bytes(Edit40->text()),
      .OutputNorth = Bytes(Edit41->text()),
      .OutputEast = Bytes(Edit42->text()),
      .LatitudeReadout = Bytes(Edit45->text()),
      .LongitudeReadout = Bytes(Edit46->text()),
      .NorthingChange = Bytes(Label27->text()),
      .EastingChange = Bytes(Label28->text()),
      .Convergence = Bytes(Edit47->text()),
      .ScaleFactor = Bytes(Edit48->text()),
  };
  const Status status = ConvertData(CurrentDirection(), CurrentMethod(), RecordSystems(),
                                    decimal_separator_, page);
  Show(Edit39, page.InputNorth);
  Show(Edit40, page.InputEast);
  Show(Edit41, page.OutputNorth);
  Show(Edit42, page.OutputEast);
  Show(Edit45, page.LatitudeReadout);
  Show(Edit46, page.LongitudeReadout);
  Show(Label27, page.NorthingChange);
  Show(Label28, page.EastingChange);
  Show(Edit47, page.Convergence);
  Show(Edit48, page.ScaleFactor);
  NameChangeReadouts();
  return status;
}

}  // namespace tervela
