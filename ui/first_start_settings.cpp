#include "ui/first_start_settings.h"

#include <algorithm>

#include "settings/settings_record.h"

namespace tervela {

Status WriteFirstSettings(const std::string& example_path, const std::string& target_path, char separator) {
  TSettingsTexts texts;
  if (Status read = ReadSettingsRecord(example_path, texts); !read) return read;
  // The numbers of both systems; the two names follow them.
  for (std::size_t line = 0; line < kParameterLineCount; ++line) {
    std::replace(texts[line].begin(), texts[line].end(), '.', separator);
  }
  return WriteSettingsRecord(target_path, texts);
}

}  // namespace tervela
