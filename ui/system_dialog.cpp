#include "ui/system_dialog.h"

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

#include "systems/system_search.h"
#include "systems/system_texts.h"

namespace tervela {

namespace {

enum Column { kCode, kName, kArea };

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
  resize(640, 640);

  connect(search_, &QLineEdit::returnPressed, this, [this] { Search(search_->text()); });
  connect(find, &QPushButton::clicked, this, [this] { Search(search_->text()); });
  connect(matches_, &QTreeWidget::currentItemChanged, this,
          [this](QTreeWidgetItem* item) { Select(item != nullptr ? matches_->indexOfTopLevelItem(item) : -1); });
  connect(buttons_->button(QDialogButtonBox::Apply), &QPushButton::clicked, this, &QDialog::accept);
  connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
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
  chosen_.reset();
  QTreeWidgetItem* item = matches_->topLevelItem(row);
  if (item != nullptr && matches_->currentItem() != item) {
    matches_->setCurrentItem(item);  // comes back here
    return;
  }
  if (item == nullptr) {
    preview_->clear();
  } else {
    const Result<TProjectedSystem> system = FillFromProj(item->text(kCode).toStdString());
    if (system) {
      chosen_ = system.value();
      preview_->setPlainText(FromUtf8(DescribeSystem(*chosen_, decimal_separator_)));
    } else {
      preview_->setPlainText(FromUtf8(system.error().BoxText()));
    }
  }
  buttons_->button(QDialogButtonBox::Apply)->setEnabled(chosen_.has_value());
}

}  // namespace tervela
