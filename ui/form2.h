#pragma once

#include <QDialog>

class QFrame;
class QLabel;

namespace tervela {

// The About box: the product name, a picture, the version and the team's lines.
class TForm2 : public QDialog {
  Q_OBJECT

 public:
  explicit TForm2(QWidget* owner);

  QLabel* Label1;
  QFrame* Panel1;
  QLabel* Image1;
  QLabel* Label3;
  QLabel* Label2;
  QLabel* Label4;
  QLabel* Label5;
  QLabel* Label6;
  QLabel* Label7;
};

}  // namespace tervela
