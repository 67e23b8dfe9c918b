#pragma once

#include <cstdint>
#include <optional>

#include <QProgressDialog>
#include <QString>

#include "ui/file_run.h"

namespace tervela {

// The box over the window while a "Convert File" run goes on: the input
// file's name, a bar of the input's bytes read (a busy bar where the size is
// unknown), the points converted so far and "Cancel". The window opens it only
// once the run has lasted kShowAfter, so a short run shows nothing new.
// Cancel, Esc and its close box cancel the run and close it. It follows the
// run's Progressed signal on the window's thread.
//
// It is no Qt modal window: Qt drops the window manager's close request to a
// window that a modal one blocks, and closing the window must end a run. The
// caller keeps the window from input instead (TInputBlock).
class TProgressBox final {
 public:
  // Half a second: a short run ends unseen, a long one never looks frozen.
  static constexpr int kShowAfter = 500;  // milliseconds

  // Opens the box at once. `window`: the window it opens over; `input_name`:
  // as typed.
  TProgressBox(QWidget* window, const QString& input_name, std::optional<std::uint64_t> input_size,
               TFileRun& run);

  TProgressBox(const TProgressBox&) = delete;
  TProgressBox& operator=(const TProgressBox&) = delete;

 private:
  void SetLabel();
  void ShowProgress();

  TFileRun& run_;
  const std::optional<std::uint64_t> input_size_;
  const QString file_name_;
  QProgressDialog dialog_;
};

}  // namespace tervela
