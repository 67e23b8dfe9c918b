#include "ui/file_dialog.h"

#include <utility>

#include <QDir>
#include <QFileInfo>

namespace tervela {

TFileDialog::TFileDialog(TKind kind, QString filter, QString default_suffix, QString initial_folder)
    : kind_(kind),
      filter_(std::move(filter)),
      default_suffix_(std::move(default_suffix)),
      initial_folder_(std::move(initial_folder)) {}

TFileDialogOptions TFileDialog::Options() const {
  const QDir folder(initial_folder_);
  const bool use_folder = !initial_folder_.isEmpty() && folder.exists();
  return TFileDialogOptions{
      .filter = filter_,
      .default_suffix = default_suffix_,
      .initial_folder = use_folder ? folder.absolutePath() : QDir::currentPath(),
      .last_name = last_name_,
  };
}

std::optional<QString> TFileDialog::Execute(TPlatform& platform) {
  const TFileDialogOptions options = Options();
  std::optional<QString> name =
      kind_ == TKind::Open ? platform.OpenFile(options) : platform.SaveFile(options);
  if (!name) return std::nullopt;
  last_name_ = *name;
  if (kind_ == TKind::Save) QDir::setCurrent(QFileInfo(*name).absolutePath());
  return name;
}

}  // namespace tervela
