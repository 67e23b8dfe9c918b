#include "ui/form2.h"

#include <QFrame>
#include <QLabel>

#include "program_info/program_info.h"
#include "ui/artwork.h"
#include "ui/look.h"

namespace tervela {

TForm2::TForm2(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("Form2"));
  setWindowTitle(QStringLiteral("About..."));
  setWindowIcon(ProgramIcon());
  setFont(WindowFont());
  setFixedSize(199, 264);
  setAutoFillBackground(true);
  SetBackground(this, kGradientActiveCaptionColour);

  Label1 = MakeLabel(this, "Label1", {30, 8}, QStringLiteral("Tervela"));
  SetWeight(Label1, TWeight::Bold);
  Label1->adjustSize();

  Panel1 = new QFrame(this);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setGeometry(26, 32, 145, 121);
  Panel1->setFrameStyle(QFrame::Box | QFrame::Plain);
  Panel1->setAutoFillBackground(true);
  SetBackground(Panel1, Qt::white);

  Image1 = new QLabel(Panel1);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setGeometry(9, 8, 129, 105);
  Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Image1->setPixmap(AboutPicture());
  Image1->setAccessibleName(QStringLiteral("Map grid with a marked point"));

  Label3 = MakeLabel(this, "Label3", {8, 160}, QStringLiteral("Version ") + QLatin1String(kProgramVersion));
  Label2 = MakeLabel(this, "Label2", {8, 176}, QString::fromUtf8("© 2024 The Tervela team"));
  Label4 = MakeLabel(this, "Label4", {8, 192}, QStringLiteral("www.tervela.example"));
  Label5 = MakeLabel(this, "Label5", {8, 208}, QStringLiteral("team@tervela.example"));
  Label6 = MakeLabel(this, "Label6", {8, 224}, QStringLiteral("Free to use and copy;"));
  Label7 = MakeLabel(this, "Label7", {8, 240}, QStringLiteral("provided without warranty."));
}

}  // namespace tervela
