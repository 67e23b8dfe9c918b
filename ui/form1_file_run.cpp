// "Convert File": the run on a worker thread, its progress box, its end, and
// closing the window during a run.

#include <chrono>
#include <utility>

#include <QCheckBox>
#include <QCloseEvent>
#include <QLineEdit>

#include "io/files.h"
#include "ui/control_text.h"
#include "ui/form1.h"
#include "ui/map_controls.h"
#include "ui/record_file_controls.h"

namespace tervela {

// Convert File: changes no control but the picture button; the alert sound
// tells of success, and nothing of a cancelled run. Map files that exist
// already are replaced only once the user agrees (the output, as ever,
// without a question). A run that ends within kShowAfter ends here, as
// one on this thread would; a longer one opens the progress box, leaves the
// window without input and ends in FileRunFinished.
Status TForm1::BitBtn2Click() {
  TFileConversion request{
      .direction = CurrentDirection(),
      .method = CurrentMethod(),
      .scripts = CheckBox2->isChecked(),
      .input_name = FileName(Edit11->text()),
      .output_name = FileName(Edit12->text()),
  };
  map_controls->AddMapFiles(request);
  record_file_controls->AddRecordFiles(request, SettingsTexts());
  if (const QStringList existing = TMapControls::ExistingMapFiles(request);
      !existing.isEmpty() && !platform_.ConfirmReplace(existing)) {
    return {};
  }
  file_run_.emplace(request, RecordSystems());
  // Connected before the wait: a run that finishes unseen by it has signalled
  // into this connection.
  connect(&*file_run_, &TFileRun::RunFinished, this, &TForm1::FileRunFinished, Qt::QueuedConnection);
  if (file_run_->WaitForFinish(std::chrono::milliseconds(TProgressBox::kShowAfter))) return EndFileRun();
  input_block_.emplace(this);
  progress_box_.emplace(this, Edit11->text(), io::RegularFileSize(request.input_name), *file_run_);
  return {};
}

void TForm1::FileRunFinished() {
  // The signal of a run that its click handler has ended already.
  if (!file_run_ || !file_run_->Finished()) return;
  ReportError(EndFileRun());
  if (std::exchange(close_after_run_, false)) close();
}

Status TForm1::EndFileRun() {
  progress_box_.reset();
  input_block_.reset();
  const Status status = file_run_->Result();
  const bool cancelled = file_run_->CancelWasRequested();
  map_controls->RunEnded(file_run_->Request());
  file_run_.reset();
  if (status.ok() && !cancelled) platform_.Beep();
  return status;
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
