// The Settings page's control-point check: a control file chosen for system
// A or B is checked with the current datum shift and calibrated, and the
// residuals shown in a dialog that can put the calibrated values into the
// system's edits.

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "control/control_run.h"
#include "ui/control_check_dialog.h"
#include "ui/control_text.h"
#include "ui/form1.h"
#include "ui/look.h"

namespace tervela {

// In the right-hand column between "TM Projection Data" and "7p Conversion
// Data"; created after Button3, so Tab reaches them after it.
void TForm1::BuildControlCheck() {
  QWidget* page = TabSheet2;
  Label36 = MakeLabel(page, "Label36", {288, 284}, QStringLiteral("Control Points"));
  ButtonCheckA = MakeButton(page, "ButtonCheckA", {304, 302, 86, 25}, QStringLiteral("Check A ..."));
  ButtonCheckB = MakeButton(page, "ButtonCheckB", {304, 334, 86, 25}, QStringLiteral("Check B ..."));
  ButtonCheckA->setAccessibleName(QStringLiteral("Check system A against control points"));
  ButtonCheckB->setAccessibleName(QStringLiteral("Check system B against control points"));
  for (QPushButton* button : {ButtonCheckA, ButtonCheckB}) {
    button->setAccessibleDescription(
        QStringLiteral("Chooses a control file of latitude, longitude, northing and easting "
                       "lines and shows the residuals with the current datum shift"));
  }
  connect(ButtonCheckA, &QPushButton::clicked, this, [this] { Run(&TForm1::ButtonCheckAClick); });
  connect(ButtonCheckB, &QPushButton::clicked, this, [this] { Run(&TForm1::ButtonCheckBClick); });
}

Status TForm1::ButtonCheckAClick() { return CheckControlPoints(TLocalSystem::A); }
Status TForm1::ButtonCheckBClick() { return CheckControlPoints(TLocalSystem::B); }

Status TForm1::CheckControlPoints(TLocalSystem system) {
  const std::optional<QString> name = OpenDialog3.Execute(platform_);
  if (!name) return {};
  const Result<std::vector<TControlPoint>> points = ReadControlFile(FileName(*name));
  if (!points) return points.error();
  const TShiftMethod method = CurrentMethod();
  const TControlRequest request{system, method, decimal_separator_, true};
  Result<TControlReport> report = RunControlCheck(RecordSystems(), points.value(), request);
  if (!report) return report.error();

  const QString title = QStringLiteral("Control points, system ") +
                        (system == TLocalSystem::A ? QStringLiteral("A") : QStringLiteral("B")) +
                        (method == TShiftMethod::SevenParameter ? QStringLiteral(", 7p")
                                                                : QStringLiteral(", 3p"));
  auto* dialog = new TControlCheckDialog(this, title, points.value(), std::move(report.value()),
                                         [this](const TControlReport& calibrated) {
                                           for (const TCalibratedField& field : calibrated.calibrated_fields) {
                                             settings_edits_[FieldIndex(calibrated.system, field.field)]->setText(
                                                 Text(field.text));
                                           }
                                         });
  dialog->open();
  return {};
}

}  // namespace tervela
