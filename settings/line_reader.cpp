#include "settings/line_reader.h"

#include <cstring>

#include "io/files.h"

namespace tervela {

namespace {
constexpr std::size_t kBufferSize = 65536;
using io::kCtrlZ;
}  // namespace

LineReader::LineReader(io::FileDescriptor file) : input_(std::move(file), kBufferSize) {}

Result<LineReader> LineReader::Open(const std::string& path) {
  Result<io::FileDescriptor> opened = io::OpenForReading(path, io::FolderAtOpen::Open);
  if (!opened) return opened.error();
  return LineReader(std::move(opened.value()));
}

Status LineReader::ReadLine(std::string& line) {
  line.clear();
  for (;;) {
    Result<bool> more = input_.Fill();
    if (!more) return more.error();
    if (!more.value()) return {};
    const char* begin = input_.data();
    const char* end = begin + input_.size();
    const char* stop = begin;
    while (stop < end && *stop != '\n' && *stop != '\r' && *stop != kCtrlZ) ++stop;
    if (line.size() + static_cast<std::size_t>(stop - begin) > kMaxLineLength) {
      return Error::SettingsLineTooLong();
    }
    line.append(begin, stop);
    input_.Consume(static_cast<std::size_t>(stop - begin));
    if (stop == end) continue;
    if (*stop == kCtrlZ) {
      input_.EndData();
      return {};
    }
    input_.Consume(1);
    if (*stop == '\n') return {};
    // A CR is never part of the text: before LF it belongs to the line end,
    // and a lone CR is dropped.
  }
}

}  // namespace tervela
