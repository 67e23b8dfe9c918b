#pragma once

#include <deque>
#include <new>
#include <optional>
#include <utility>

#include <QList>
#include <QStringList>

#include "ui/platform.h"

namespace tervela {

// A scripted dialog answer that stands for the user cancelling.
inline const QString kCancel;

// Records what the window asks of the platform and answers file dialogs
// with scripted names (kCancel, or nothing left: the user cancels).
class TFakePlatform final : public TPlatform {
 public:
  void ShowError(const QString& text) override { errors.append(text); }
  std::optional<QString> OpenFile(const TFileDialogOptions& options) override {
    open_requests.append(options);
    if (std::exchange(out_of_memory, false)) throw std::bad_alloc();
    return NextAnswer();
  }
  std::optional<QString> SaveFile(const TFileDialogOptions& options) override {
    save_requests.append(options);
    return NextAnswer();
  }
  std::optional<TProjectedSystem> ChooseSystem(const QString& system, char) override {
    system_requests.append(system);
    return std::exchange(system_answer, std::nullopt);
  }
  bool ConfirmReplace(const QStringList& names) override {
    replace_questions.append(names);
    return replace_answer;
  }
  void Beep() override { ++beeps; }
  void Quit() override { ++quits; }

  QStringList errors;
  QList<TFileDialogOptions> open_requests;
  QList<TFileDialogOptions> save_requests;
  std::deque<QString> answers;
  QStringList system_requests;
  std::optional<TProjectedSystem> system_answer;  // the next system dialog's choice
  QList<QStringList> replace_questions;
  bool replace_answer = true;  // whether the user replaces files that exist
  int beeps = 0;
  int quits = 0;
  bool out_of_memory = false;  // the next open dialog fails as an allocation would

 private:
  std::optional<QString> NextAnswer() {
    if (answers.empty()) return std::nullopt;
    const QString answer = answers.front();
    answers.pop_front();
    if (answer.isNull()) return std::nullopt;
    return answer;
  }
};

}  // namespace tervela
