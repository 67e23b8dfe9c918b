#include "io/copy_file.h"

#include <memory>

#include "io/files.h"
#include "io/replace_file.h"
#include "io/system_calls.h"

namespace tervela::io {

namespace {
constexpr std::size_t kCopyBufferSize = 65536;
}  // namespace

Status CopyFile(const std::string& from, const std::string& to) {
  Result<FileDescriptor> source = OpenForReading(from);
  if (!source) return source.error();
  const int fd = source.value().get();
  return ReplaceFile(to, [fd](ByteSink& sink) -> Status {
    const auto buffer = std::make_unique<char[]>(kCopyBufferSize);
    for (;;) {
      Result<std::size_t> read = Read(fd, buffer.get(), kCopyBufferSize);
      if (!read) return read.error();
      if (read.value() == 0) return {};
      if (Status written = sink.Write({buffer.get(), read.value()}); !written) return written;
    }
  });
}

}  // namespace tervela::io
