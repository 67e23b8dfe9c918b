#include "ui/control_check_dialog.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "common/error.h"
#include "common/number_text.h"
#include "control/check_table.h"
#include "ui/control_text.h"

namespace tervela {

namespace {

// A table cell that sorts by its number rather than by its text.
class TNumberItem : public QTableWidgetItem {
 public:
  explicit TNumberItem(double metres)
      : QTableWidgetItem(QString::fromStdString(FormatFixed(metres, 3, '.'))), metres_(metres) {
    setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
  }
  bool operator<(const QTableWidgetItem& other) const override {
    if (const auto* number = dynamic_cast<const TNumberItem*>(&other)) return metres_ < number->metres_;
    return QTableWidgetItem::operator<(other);
  }

 private:
  double metres_;
};

}  // namespace

TControlCheckDialog::TControlCheckDialog(QWidget* parent, const QString& title,
                                         std::vector<TControlPoint> points, TControlReport report,
                                         std::function<void(const TControlReport&)> use_calibration)
    : QDialog(parent), points_(std::move(points)), report_(std::move(report)) {
  setObjectName(QStringLiteral("ControlCheckDialog"));
  setWindowTitle(title);
  setAttribute(Qt::WA_DeleteOnClose);
  resize(460, 420);

  const TControlCheck& check = report_.check;
  Table = new QTableWidget(static_cast<int>(points_.size()), 5, this);
  Table->setObjectName(QStringLiteral("Table"));
  Table->setAccessibleName(QStringLiteral("Control point residuals"));
  Table->setHorizontalHeaderLabels({QStringLiteral("Name"), QStringLiteral("dN [m]"),
                                    QStringLiteral("dE [m]"), QStringLiteral("d [m]"),
                                    QStringLiteral("Outlier")});
  Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  Table->verticalHeader()->hide();
  Table->verticalHeader()->setDefaultSectionSize(Table->fontMetrics().height() + 6);
  for (int row = 0; row < Table->rowCount(); ++row) {
    const std::size_t i = static_cast<std::size_t>(row);
    Table->setItem(row, 0, new QTableWidgetItem(Text(points_[i].name)));
    Table->setItem(row, 1, new TNumberItem(check.residuals[i].north));
    Table->setItem(row, 2, new TNumberItem(check.residuals[i].east));
    Table->setItem(row, 3, new TNumberItem(Length(check.residuals[i])));
    Table->setItem(row, 4, new QTableWidgetItem(check.outliers[i] ? QStringLiteral("outlier") : QString()));
  }
  // Sortable by a click on a column's header; shown in file order at first.
  Table->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
  Table->setSortingEnabled(true);
  Table->resizeColumnsToContents();

  Summary = new QLabel(QString::fromStdString(CheckSummaryText(check)).replace('\t', QStringLiteral(", ")), this);
  Summary->setObjectName(QStringLiteral("Summary"));
  Summary->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

  const bool calibrated = report_.calibrated_check.has_value() && report_.calibration_refusal.empty();
  Calibration = new QLabel(this);
  Calibration->setObjectName(QStringLiteral("Calibration"));
  Calibration->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  QStringList calibration;
  if (report_.calibrated_check) {
    calibration.append(QStringLiteral("Calibrated: ") +
                       Text(CalibratedValuesText(report_)).replace('\t', QStringLiteral(", ")) +
                       QStringLiteral("\nThen: ") +
                       QString::fromStdString(CheckSummaryText(*report_.calibrated_check))
                           .replace('\t', QStringLiteral(", ")));
  }
  if (!report_.calibration_refusal.empty()) {
    calibration.append(Text(ErrorBoxText("Calibration refused: " + report_.calibration_refusal)));
  }
  Calibration->setText(calibration.join('\n'));

  CopyButton = new QPushButton(QStringLiteral("&Copy"), this);
  CopyButton->setObjectName(QStringLiteral("CopyButton"));
  CopyButton->setAccessibleName(QStringLiteral("Copy the residual table"));
  UseButton = new QPushButton(QStringLiteral("&Use calibrated values"), this);
  UseButton->setObjectName(QStringLiteral("UseButton"));
  UseButton->setAccessibleName(QStringLiteral("Use the calibrated values in the settings"));
  UseButton->setEnabled(calibrated);
  CloseButton = new QPushButton(QStringLiteral("Close"), this);
  CloseButton->setObjectName(QStringLiteral("CloseButton"));
  CloseButton->setAccessibleName(QStringLiteral("Close the residual table"));
  CloseButton->setDefault(true);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(CopyButton);
  buttons->addWidget(UseButton);
  buttons->addStretch();
  buttons->addWidget(CloseButton);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Table);
  layout->addWidget(Summary);
  layout->addWidget(Calibration);
  layout->addLayout(buttons);

  connect(CopyButton, &QPushButton::clicked, this, [this] { QApplication::clipboard()->setText(TableText()); });
  connect(UseButton, &QPushButton::clicked, this, [this, use = std::move(use_calibration)] {
    use(report_);
    accept();
  });
  connect(CloseButton, &QPushButton::clicked, this, &QDialog::reject);
}

QString TControlCheckDialog::TableText() const {
  std::string text;
  for (std::size_t i = 0; i < points_.size(); ++i) {
    text += CheckRowText(points_[i].name, report_.check.residuals[i], report_.check.outliers[i]) + '\n';
  }
  text += CheckSummaryText(report_.check) + '\n';
  return Text(text);
}

}  // namespace tervela
