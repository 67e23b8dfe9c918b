#include "ui/system_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <string>
#include <vector>

#include "systems/operation_texts.h"
#include "systems/system_search.h"
#include "systems/system_texts.h"
#include "ui/area_map.h"

namespace tervela {

namespace {

enum Column { kCode, kName, kArea };

// The right column of the place and the operations, and the gap before it.
constexpr int kOperationsWidth = 360;
constexpr int kColumnSpacing = 12;

QString FromUtf8(const std::string& text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

}  // namespace

TSystemDialog::TSystemDialog(const QString& system, char decimal_separator, QWidget* parent)
    : QDialog(parent), decimal_separator_(decimal_separator) {
  setWindowTitle(QStringLiteral("Fill %1 from PROJ").arg(system));
  auto* layout = new QVBoxLayout(this);

  auto* prompt = new QLabel(QStringLiteral("&Code (EPSG:31467) or part of a name:"), this);
  search_ = new QLineEdit(this);
  search_->setAccessibleName(QStringLiteral("Code or part of a name"));
  prompt->setBuddy(search_);
  auto* find = new QPushButton(QStringLiteral("&Find"), this);
  find->setAutoDefault(false);
  find->setAccessibleName(QStringLiteral("Find systems"));
  auto* search_row = new QHBoxLayout;
  search_row->addWidget(search_, 1);
  search_row->addWidget(find);

  matches_ = new QTreeWidget(this);
  matches_->setAccessibleName(QStringLiteral("Transverse Mercator systems found"));
  matches_->setHeaderLabels({QStringLiteral("Code"), QStringLiteral("Name"), QStringLiteral("Area of use")});
  matches_->setRootIsDecorated(false);
  matches_->setUniformRowHeights(true);
  matches_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);

  preview_ = new QPlainTextEdit(this);
  preview_->setReadOnly(true);
  preview_->setAccessibleName(QStringLiteral("Parameters that Apply fills in"));
  preview_->setLineWrapMode(QPlainTextEdit::WidgetWidth);

  buttons_ = new QDialogButtonBox(QDialogButtonBox::Apply | QDialogButtonBox::Cancel, this);
  buttons_->button(QDialogButtonBox::Apply)->setEnabled(false);
  // Return in the search field searches; it neither applies nor cancels.
  for (QAbstractButton* button : buttons_->buttons()) {
    if (auto* push = qobject_cast<QPushButton*>(button)) push->setAutoDefault(false);
  }

  layout->addWidget(prompt);
  layout->addLayout(search_row);
  layout->addWidget(matches_, 2);
  layout->addWidget(preview_, 3);
  layout->addWidget(buttons_);

  // The place and the operations in a column right of the search and the
  // preview, outside their layout, which keeps its sizes and spacing: it
  // leaves the column room in its right margin (resizeEvent places it).
  const QMargins margins = layout->contentsMargins();
  layout->setContentsMargins(margins.left(), margins.top(), margins.right() + kColumnSpacing + kOperationsWidth,
                             margins.bottom());
  operations_ = new QWidget(this);
  QWidget* const operations = operations_;
  auto* column = new QVBoxLayout(operations);
  column->setContentsMargins(0, 0, 0, 0);
  auto* place_prompt = new QLabel(QStringLiteral("P&lace (latitude, longitude), or empty for the whole area:"),
                                  operations);
  place_prompt->setWordWrap(true);
  place_ = new QLineEdit(operations);
  place_->setAccessibleName(QStringLiteral("Place the system is used at"));
  place_->setPlaceholderText(QStringLiteral("the system's whole area of use"));
  place_prompt->setBuddy(place_);
  map_ = new TAreaMap(operations);
  map_->setAccessibleName(QStringLiteral("Map of the areas of use: click or use the arrow keys to put the place"));
  column->addWidget(place_prompt);
  column->addWidget(place_);
  column->addWidget(map_, 1);
  const QString captions[] = {QStringLiteral("&Three-parameter shift from:"),
                              QStringLiteral("Se&ven-parameter shift from:")};
  const QString names[] = {QStringLiteral("three-parameter"), QStringLiteral("seven-parameter")};
  for (int i = 0; i < 2; ++i) {
    auto* prompt = new QLabel(captions[i], operations);
    operation_[i] = new QComboBox(operations);
    operation_[i]->setAccessibleName(QStringLiteral("Datum operation of the %1 shift").arg(names[i]));
    operation_[i]->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    operation_[i]->setMinimumContentsLength(20);
    prompt->setBuddy(operation_[i]);
    area_[i] = new QPlainTextEdit(operations);
    area_[i]->setReadOnly(true);
    area_[i]->setTabChangesFocus(true);
    area_[i]->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    area_[i]->setFocusPolicy(Qt::StrongFocus);
    area_[i]->setFixedHeight(area_[i]->fontMetrics().lineSpacing() * 3 + 12);
    area_[i]->setAccessibleName(QStringLiteral("Area of use of the %1 operation").arg(names[i]));
    column->addWidget(prompt);
    column->addWidget(operation_[i]);
    column->addWidget(area_[i]);
    const bool seven = i == 1;
    connect(operation_[i], &QComboBox::activated, this, [this, seven](int index) { ChooseOperation(seven, index); });
  }
  resize(640 + kColumnSpacing + kOperationsWidth, 640);
  QWidget* const tab_order[] = {search_,       find,          matches_,  preview_, place_,
                                map_,          operation_[0], area_[0],  operation_[1], area_[1],
                                buttons_->button(QDialogButtonBox::Apply),
                                buttons_->button(QDialogButtonBox::Cancel)};
  for (std::size_t i = 1; i < std::size(tab_order); ++i) QWidget::setTabOrder(tab_order[i - 1], tab_order[i]);
  connect(place_, &QLineEdit::returnPressed, this, [this] { SetPlace(place_->text()); });
  connect(map_, &TAreaMap::placed, this, [this](TGeographicPoint place) {
    SetPlace(QStringLiteral("%1, %2").arg(place.latitude, 0, 'f', 4).arg(place.longitude, 0, 'f', 4));
  });

  connect(search_, &QLineEdit::returnPressed, this, [this] { Search(search_->text()); });
  connect(find, &QPushButton::clicked, this, [this] { Search(search_->text()); });
  connect(matches_, &QTreeWidget::currentItemChanged, this,
          [this](QTreeWidgetItem* item) { Select(item != nullptr ? matches_->indexOfTopLevelItem(item) : -1); });
  connect(buttons_->button(QDialogButtonBox::Apply), &QPushButton::clicked, this, &QDialog::accept);
  connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void TSystemDialog::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  const QMargins margins = layout()->contentsMargins();
  // In the right margin the layout leaves: the column, and the margin it had.
  operations_->setGeometry(width() - margins.right() + kColumnSpacing, margins.top(), kOperationsWidth,
                           height() - margins.top() - margins.bottom());
}

void TSystemDialog::Search(const QString& text) {
  search_->setText(text);
  const std::string wanted = text.trimmed().toStdString();
  std::vector<TSystemSummary> found;
  std::optional<TSystemSummary> code;
  if (wanted.find(':') != std::string::npos) code = LookUpCode(wanted);
  if (code) {
    found.push_back(*code);
  } else {
    Result<std::vector<TSystemSummary>> named = FindTransverseMercatorSystems(wanted);
    if (!named) {
      matches_->clear();
      Select(-1);
      preview_->setPlainText(FromUtf8(named.error().BoxText()));
      return;
    }
    found = std::move(named.value());
  }
  matches_->clear();
  for (const TSystemSummary& summary : found) {
    auto* item = new QTreeWidgetItem({FromUtf8(summary.code), FromUtf8(summary.name), FromUtf8(summary.area)});
    item->setToolTip(kArea, item->text(kArea));  // the column is often too narrow for it
    matches_->addTopLevelItem(item);
  }
  if (found.empty()) {
    Select(-1);
    preview_->setPlainText(QStringLiteral("No Transverse Mercator system's name holds '%1'.").arg(text));
    return;
  }
  matches_->setCurrentItem(matches_->topLevelItem(0));
}

void TSystemDialog::Select(int row) {
  QTreeWidgetItem* item = matches_->topLevelItem(row);
  if (item != nullptr && matches_->currentItem() != item) {
    matches_->setCurrentItem(item);  // comes back here
    return;
  }
  choice_.three_parameter.clear();
  choice_.seven_parameter.clear();
  Fill();
}

void TSystemDialog::SetPlace(const QString& text) {
  place_->setText(text);
  choice_ = {};
  if (!text.trimmed().isEmpty()) {
    const std::string typed = text.toStdString();
    // The Settings page's decimal separator, or a point.
    std::optional<TGeographicPoint> place = ReadPlace(typed, decimal_separator_);
    if (!place && decimal_separator_ != '.') place = ReadPlace(typed, '.');
    if (!place || !OnTheEarth(*place)) {
      chosen_.reset();
      preview_->setPlainText(QStringLiteral("The place is a latitude from -90 to 90 and a longitude from -180 to "
                                            "180 in degrees, such as 50.1, 8.7; empty for the system's whole "
                                            "area of use."));
      buttons_->button(QDialogButtonBox::Apply)->setEnabled(false);
      return;
    }
    choice_.near = place;
  }
  Fill();
}

void TSystemDialog::ChooseOperation(bool seven, int index) {
  if (!chosen_ || index < 0 || index >= static_cast<int>(chosen_->operations.size())) return;
  (seven ? choice_.seven_parameter : choice_.three_parameter) = chosen_->operations[index].code;
  Fill();
}

void TSystemDialog::Fill() {
  chosen_.reset();
  QTreeWidgetItem* item = matches_->currentItem();
  if (item == nullptr) {
    preview_->clear();
  } else {
    const Result<TProjectedSystem> system = FillFromProj(item->text(kCode).toStdString(), choice_);
    if (system) {
      chosen_ = system.value();
      preview_->setPlainText(FromUtf8(DescribeSystem(*chosen_, decimal_separator_)));
    } else {
      preview_->setPlainText(FromUtf8(system.error().BoxText()));
    }
  }
  // Each shift's list holds every candidate, the one it applies current.
  const std::optional<TDatumOperation>* applied[] = {nullptr, nullptr};
  if (chosen_) {
    applied[0] = &chosen_->three_parameter;
    applied[1] = &chosen_->seven_parameter;
  }
  for (int i = 0; i < 2; ++i) {
    operation_[i]->clear();
    area_[i]->clear();
    if (applied[i] == nullptr || !*applied[i]) continue;
    const TDatumOperation& operation = **applied[i];
    for (const TOperationCandidate& candidate : chosen_->operations) {
      operation_[i]->addItem(FromUtf8(CandidateSummary(candidate)));
      if (candidate.code == operation.code) operation_[i]->setCurrentIndex(operation_[i]->count() - 1);
    }
    area_[i]->setPlainText(FromUtf8(operation.code.empty() ? OperationText(operation)
                                                      : AreaText(operation.area, operation.box)));
  }
  map_->Show(chosen_ ? chosen_->area : std::nullopt, chosen_ ? chosen_->three_parameter->box : std::nullopt,
             chosen_ ? chosen_->seven_parameter->box : std::nullopt, choice_.near);
  buttons_->button(QDialogButtonBox::Apply)->setEnabled(chosen_.has_value());
}

}  // namespace tervela
