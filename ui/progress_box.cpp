// The progress box of a "Convert File" run that outlasts half a second.

#include "ui/progress_box.h"

#include <algorithm>

#include <QFileInfo>
#include <QLocale>

#include "ui/application_title.h"

namespace tervela {
namespace {

// The bar counts in thousandths of the input: its value is an int, and files
// past 2 GiB must fit; a thousand steps are finer than the bar's pixels.
constexpr int kBarSteps = 1000;

}  // namespace

TProgressBox::TProgressBox(QWidget* window, const QString& input_name,
                           std::optional<std::uint64_t> input_size, TFileRun& run)
    : run_(run), input_size_(input_size), file_name_(QFileInfo(input_name).fileName()), dialog_(window) {
  dialog_.setWindowTitle(kApplicationTitle);
  dialog_.setAccessibleName(QStringLiteral("Converting file"));
  dialog_.setAutoReset(false);
  dialog_.setAutoClose(false);
  dialog_.setRange(0, input_size_ && *input_size_ > 0 ? kBarSteps : 0);
  dialog_.setValue(0);
  ShowProgress();
  dialog_.show();
  // Cancel and the close box signal canceled; an Esc that reaches the dialog
  // past its shortcut rejects it.
  QObject::connect(&dialog_, &QProgressDialog::canceled, &dialog_, [&run] { run.Cancel(); });
  QObject::connect(&dialog_, &QDialog::rejected, &dialog_, [&run] { run.Cancel(); });
  QObject::connect(&run, &TFileRun::Progressed, &dialog_, [this] { ShowProgress(); },
                   Qt::QueuedConnection);
}

void TProgressBox::SetLabel() {
  dialog_.setLabelText(QStringLiteral("Converting %1\n%2 points converted")
                           .arg(file_name_, QLocale().toString(qulonglong(run_.PointsWritten()))));
}

void TProgressBox::ShowProgress() {
  // Closed by a cancel: a value would open it again.
  if (run_.CancelWasRequested()) return;
  SetLabel();
  if (dialog_.maximum() > 0) {
    const std::uint64_t read = std::min(run_.BytesRead(), *input_size_);
    dialog_.setValue(static_cast<int>(read * kBarSteps / *input_size_));
  }
}

}  // namespace tervela
