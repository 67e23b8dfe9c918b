#include "settings/startup_settings.h"

#include "io/copy_file.h"
#include "io/files.h"
#include "settings/settings_record.h"

namespace tervela {

std::string KeptSettingsName(const std::string& path) { return path + ".bad"; }

Status ReadStartupSettings(const std::string& path,
                           const std::function<void(int index, const std::string& text)>& set_line) {
  const Status read = ReadSettingsRecord(path, set_line, TSettingsSource::RegularFileOnly);
  // A missing file, a folder or a FIFO holds nothing that a write could lose.
  if (read || !io::RegularFileSize(path)) return read;
  const std::string kept = KeptSettingsName(path);
  if (const Status copied = io::CopyFile(path, kept); !copied) {
    return read.error().WithSentence("Its bytes could not be kept in " + kept + ": " +
                                     copied.error().message());
  }
  return read.error().WithSentence("Its bytes are kept in " + kept);
}

}  // namespace tervela
