// What a screen reader calls the Conversion page's controls.

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/form1.h"

namespace tervela {

// Only names and descriptions are set: captions, texts and the tab order stay.
void TForm1::NameConversionControls() {
  Edit11->setAccessibleName(QStringLiteral("Input file"));
  Button1->setAccessibleName(QStringLiteral("Choose input file"));
  Edit12->setAccessibleName(QStringLiteral("Output file"));
  Button2->setAccessibleName(QStringLiteral("Choose output file"));
  Edit45->setAccessibleName(QStringLiteral("Output latitude"));
  Edit45->setAccessibleDescription(QStringLiteral("Decimal degrees north"));
  Edit46->setAccessibleName(QStringLiteral("Output longitude"));
  Edit46->setAccessibleDescription(QStringLiteral("Decimal degrees east"));
  Edit47->setAccessibleName(QStringLiteral("Grid convergence"));
  Edit47->setAccessibleDescription(
      QStringLiteral("Angle from grid north to true north at the grid point of Convert Data, in "
                     "degrees, minutes and seconds and in decimal degrees"));
  Edit48->setAccessibleName(QStringLiteral("Point scale factor"));
  Edit48->setAccessibleDescription(
      QStringLiteral("Grid length over ellipsoid length at the grid point of Convert Data"));
  Label27->setAccessibleDescription(
      QStringLiteral("Previous northing output minus the new one, in metres"));
  Label28->setAccessibleDescription(
      QStringLiteral("Previous easting output minus the new one, in metres"));
  BitBtn1->setAccessibleDescription(QStringLiteral("Swaps the input and output data"));
  BitBtn4->setAccessibleDescription(
      QStringLiteral("Empties the file names and the coordinate fields"));
  NameCoordinateFields();
  NameChangeReadouts();
}

// "Input data °N" becomes "Input data mN" when the direction relabels the unit.
void TForm1::NameCoordinateFields() {
  const QString input = QStringLiteral("Input data ");
  const QString output = QStringLiteral("Output data ");
  Edit39->setAccessibleName(input + Label21->text());
  Edit40->setAccessibleName(input + Label22->text());
  Edit41->setAccessibleName(output + Label23->text());
  Edit42->setAccessibleName(output + Label24->text());
}

// A label's accessible name replaces its text, so the name carries the value.
void TForm1::NameChangeReadouts() {
  const auto name = [](const QString& change, const QLabel* readout) {
    return readout->text().isEmpty() ? change : change + u' ' + readout->text();
  };
  Label27->setAccessibleName(name(QStringLiteral("Northing change"), Label27));
  Label28->setAccessibleName(name(QStringLiteral("Easting change"), Label28));
}

}  // namespace tervela
