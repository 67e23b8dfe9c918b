#include "ui/first_start_settings.h"

#include <QDir>
#include <QFileInfo>
#include <QString>

#include <algorithm>

#include "io/copy_file.h"
#include "settings/settings_record.h"

namespace tervela {
namespace {

// The example point files a first start copies.
constexpr const char* kExamplePointFiles[] = {"wgs84-points.txt", "grid-points.txt"};

bool Exists(const std::string& path) { return QFileInfo::exists(QString::fromStdString(path)); }

}  // namespace

Status WriteFirstSettings(const std::string& example_path, const std::string& target_path, char separator) {
  TSettingsTexts texts;
  if (Status read = ReadSettingsRecord(example_path, texts); !read) return read;
  // The numbers of both systems; the two names follow them.
  for (std::size_t line = 0; line < kParameterLineCount; ++line) {
    std::replace(texts[line].begin(), texts[line].end(), '.', separator);
  }
  return WriteSettingsRecord(target_path, texts);
}

std::string StartupSettingsPath(const std::string& home) { return home + "/Tervela.ini"; }

Result<bool> PrepareWorkingFolder(const std::string& home, const std::string& examples, char separator) {
  if (Exists(StartupSettingsPath(home))) return false;
  // A folder that cannot be made shows in the first copy's error.
  QDir().mkpath(QString::fromStdString(home));
  for (const char* points : kExamplePointFiles) {
    const std::string target = home + "/" + points;
    if (Exists(target)) continue;
    if (Status copied = io::CopyFile(examples + "/" + points, target); !copied) return copied.error().At(target, 0);
  }
  const std::string settings = StartupSettingsPath(home);
  if (Status written = WriteFirstSettings(examples + "/two-zones.set", settings, separator); !written) {
    return written.error().At(settings, 0);
  }
  return true;
}

}  // namespace tervela
