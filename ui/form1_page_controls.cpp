#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "ui/form1.h"

namespace tervela {

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
  for (QLineEdit* field : {Edit11, Edit12, Edit39, Edit40, Edit41, Edit42, Edit45, Edit46}) {
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

}  // namespace tervela
