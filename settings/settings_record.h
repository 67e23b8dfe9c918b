#pragma once

#include <array>
#include <functional>
#include <span>
#include <string>

#include "common/result.h"

namespace tervela {

// The settings record: the 38 edit texts of the Settings page in line order,
// kept byte for byte (the window converts with the local 8-bit encoding).
inline constexpr int kSettingsLineCount = 38;
using TSettingsTexts = std::array<std::string, kSettingsLineCount>;

// The two local grid systems and their lines in the record: eighteen
// parameter texts each, Dx first and K last (lines 1-18 for A, 19-36 for B),
// then the two names (line 37 for A, 38 for B).
enum class TLocalSystem { A, B };
inline constexpr int kSystemTextCount = 18;
inline constexpr std::size_t kParameterLineCount = 2 * kSystemTextCount;
using TSystemTexts = std::span<const std::string, kSystemTextCount>;

// Where a system's texts lie in TSettingsTexts (0 for line 1): its first
// parameter text and its name.
constexpr std::size_t FirstParameterIndex(TLocalSystem system) {
  return system == TLocalSystem::A ? 0 : kSystemTextCount;
}
constexpr std::size_t NameIndex(TLocalSystem system) {
  return kParameterLineCount + (system == TLocalSystem::A ? 0 : 1);
}

inline TSystemTexts ParameterTexts(const TSettingsTexts& texts, TLocalSystem system) {
  return TSystemTexts(texts.data() + FirstParameterIndex(system), kSystemTextCount);
}

// Writes the 38 lines, each followed by CR LF, to `path`. The old file is
// replaced only when every byte was written and closed: the record goes to a
// temporary file in the same folder that is renamed over the target (through a
// symbolic link, onto the file it points to). On failure the old file stays as
// it was and the error is the file error of the failing step. A hard-linked
// file, and one in a folder that takes no new file, are written in place
// instead (io::ReplaceFile).
Status WriteSettingsRecord(const std::string& path, const TSettingsTexts& texts);

// Which files ReadSettingsRecord reads: any (a pipe or device too, as a
// script may give one), or regular files only, so that a FIFO or device is
// refused at once ("File access denied", as for a folder) instead of waiting
// for a writer or reading without end.
enum class TSettingsSource { AnyFile, RegularFileOnly };

// Reads the record at `path` line by line and calls `set_line(index, text)`
// (index 0 to 37) right after each line is read. Missing lines read as empty;
// lines after the 38th are ignored. On an error the lines read before it have
// been delivered; a line too long is placed at `path` and its line number.
Status ReadSettingsRecord(const std::string& path,
                          const std::function<void(int index, const std::string& text)>& set_line,
                          TSettingsSource source = TSettingsSource::AnyFile);

// Convenience form that fills `texts`.
Status ReadSettingsRecord(const std::string& path, TSettingsTexts& texts);

}  // namespace tervela
