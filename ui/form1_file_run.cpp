// "Convert File": the run on a worker thread, its progress box, and closing
// the window during a run.

#include <QAbstractEventDispatcher>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLineEdit>
#include <QTimer>

#include "io/files.h"
#include "ui/control_text.h"
#include "ui/form1.h"
#include "ui/input_block.h"
#include "ui/progress_box.h"

namespace tervela {

// Convert File: changes no control; the alert sound tells of success, and
// nothing of a cancelled run.
Status TForm1::BitBtn2Click() {
  const TFileConversion request{
      .direction = CurrentDirection(),
      .method = CurrentMethod(),
      .scripts = CheckBox2->isChecked(),
      .input_name = FileName(Edit11->text()),
      .output_name = FileName(Edit12->text()),
  };
  const TFileRunEnd end = RunFileInBackground(request);
  if (end.status.ok() && !end.cancelled) platform_.Beep();
  return end.status;
}

TForm1::TFileRunEnd TForm1::RunFileInBackground(const TFileConversion& request) {
  const TInputBlock block(this);
  QAbstractEventDispatcher* const dispatcher = QAbstractEventDispatcher::instance();
  file_run_.emplace(request, SettingsTexts(), decimal_separator_, [dispatcher] { dispatcher->wakeUp(); });
  {
    const TProgressBox box(this, Edit11->text(), io::RegularFileSize(request.input_name), *file_run_);
    // The worker's last act wakes this loop; the box's timer wakes it, too.
    while (!file_run_->Finished()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  TFileRunEnd end{file_run_->Result(), file_run_->CancelWasRequested()};
  file_run_.reset();
  if (close_after_run_) QTimer::singleShot(0, this, [this] { close(); });
  return end;
}

void TForm1::closeEvent(QCloseEvent* event) {
  if (file_run_) {
    file_run_->Cancel();
    close_after_run_ = true;
    event->ignore();
    return;
  }
  QWidget::closeEvent(event);
}

}  // namespace tervela
