#pragma once

#include <functional>
#include <vector>

#include <QDialog>

#include "control/control_file.h"
#include "control/control_run.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace tervela {

// The residuals of a control check: a sortable table (name, dN, dE, d in
// metres, outlier), the summary line, the calibrated values and the buttons
// "Copy" (the table as the command line prints it, to the clipboard), "Use
// calibrated values" (disabled, with the reason shown, when the calibration
// is refused) and "Close". It is opened window-modal with open(), so
// that nothing waits for it; "Use calibrated values" calls `use_calibration`
// and closes the dialog.
class TControlCheckDialog : public QDialog {
  Q_OBJECT

 public:
  TControlCheckDialog(QWidget* parent, const QString& title, std::vector<TControlPoint> points,
                      TControlReport report, std::function<void(const TControlReport&)> use_calibration);

  QTableWidget* Table;
  QLabel* Summary;
  QLabel* Calibration;
  QPushButton* CopyButton;
  QPushButton* UseButton;
  QPushButton* CloseButton;

  // The text "Copy" puts on the clipboard: a line per point, then the summary.
  QString TableText() const;

 private:
  std::vector<TControlPoint> points_;
  TControlReport report_;
};

}  // namespace tervela
