#include "ui/first_start_settings.h"

#include <algorithm>

#include "settings/settings_record.h"

namespace tervela {
namespace {

// Systems A and B, eighteen numbers each; the two names follow.
constexpr std::size_t kNumberLines = 2 * kSystemTextCount;

}  // namespace

Status WriteFirstSettings(const std::string& example_path, const std::string& target_path, char separator) {
  TSettingsTexts texts;
  if (Status read = ReadSettingsRecord(example_path, texts); !read) return read;
  for (std::size_t line = 0; line < kNumberLines; ++line) {
    std::replace(texts[line].begin(), texts[line].end(), '.', separator);
  }
  return WriteSettingsRecord(target_path, texts);
}

}  // namespace tervela
