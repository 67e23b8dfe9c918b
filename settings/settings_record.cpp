#include "settings/settings_record.h"

#include "io/files.h"
#include "io/replace_file.h"
#include "settings/line_reader.h"
#include "settings/settings_record_lines.h"

namespace tervela {

namespace {
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
}  // namespace

// A first text that begins with a byte-order mark gets one more before it,
// which a read skips, so that the text's own comes back.
Status WriteSettingsLines(const TSettingsTexts& texts, io::ByteSink& sink) {
  if (texts[0].starts_with(kByteOrderMark)) {
    if (Status written = sink.Write(kByteOrderMark); !written) return written;
  }
  for (const std::string& text : texts) {
    if (Status written = sink.Write(text); !written) return written;
    if (Status written = sink.Write(kLineEnd); !written) return written;
  }
  return {};
}

Status WriteSettingsRecord(const std::string& path, const TSettingsTexts& texts) {
  return io::ReplaceFile(path, [&texts](io::ByteSink& sink) { return WriteSettingsLines(texts, sink); });
}

Status ReadSettingsRecord(const std::string& path,
                          const std::function<void(int index, const std::string& text)>& set_line,
                          TSettingsSource source) {
  Result<io::FileDescriptor> opened = io::OpenForReading(path, io::FolderAtOpen::Open);
  if (!opened) return opened.error();
  if (source == TSettingsSource::RegularFileOnly && !io::RegularFileSize(opened.value().get())) {
    return Error::File(file_error::kAccessDenied);
  }
  LineReader reader(std::move(opened.value()));
  std::string line;
  for (int index = 0; index < kSettingsLineCount; ++index) {
    if (Status read = reader.ReadLine(line); !read) {
      if (!(read.error() == Error::SettingsLineTooLong())) return read;
      return read.error().At(path, static_cast<std::uint64_t>(index) + 1);
    }
    set_line(index, line);
  }
  return reader.Close();
}

Status ReadSettingsRecord(const std::string& path, TSettingsTexts& texts) {
  return ReadSettingsRecord(path, [&texts](int index, const std::string& text) {
    texts[static_cast<std::size_t>(index)] = text;
  });
}

}  // namespace tervela
