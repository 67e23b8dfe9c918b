#include "io/system.h"

#include <io.h>

#include <algorithm>
#include <cerrno>

#include "io/system_calls.h"
#include "io/windows/windows_error.h"

namespace tervela::io::system {

namespace {

using windows::HandleOf;
using windows::LastError;

// ReadFile and WriteFile count in DWORDs: larger requests go in parts.
constexpr std::size_t kLargestTransfer = std::size_t{1} << 30;
// How often an empty pipe is looked at again while a read waits for it.
constexpr DWORD kPipeWait = 10;

}  // namespace

Result<std::size_t> Read(int fd, char* buffer, std::size_t size) {
  DWORD read = 0;
  if (::ReadFile(HandleOf(fd), buffer, static_cast<DWORD>(std::min(size, kLargestTransfer)), &read,
                 nullptr)) {
    return static_cast<std::size_t>(read);
  }
  const DWORD error = ::GetLastError();
  // A pipe whose writer has gone is at its end.
  if (error == ERROR_BROKEN_PIPE || error == ERROR_HANDLE_EOF) return std::size_t{0};
  // A folder (io::FolderAtOpen::Open) is no file to read, as EISDIR on POSIX.
  BY_HANDLE_FILE_INFORMATION information{};
  if (error == ERROR_INVALID_FUNCTION && ::GetFileInformationByHandle(HandleOf(fd), &information) &&
      (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return Error::FromErrno(EISDIR);
  }
  ::SetLastError(error);
  return LastError();
}

// Windows has no poll() for files: a disk file or a console is read at once,
// and a pipe is looked at every kPipeWait milliseconds until it has data or
// its end, asking `stop_requested` each time.
Result<std::size_t> ReadWhenReady(int fd, char* buffer, std::size_t size,
                                  const std::function<bool()>& stop_requested) {
  const HANDLE handle = HandleOf(fd);
  if (!stop_requested || ::GetFileType(handle) != FILE_TYPE_PIPE) return Read(fd, buffer, size);
  for (;;) {
    DWORD available = 0;
    if (!::PeekNamedPipe(handle, nullptr, 0, nullptr, &available, nullptr)) {
      if (::GetLastError() == ERROR_BROKEN_PIPE) return std::size_t{0};
      return LastError();
    }
    if (available > 0) return Read(fd, buffer, size);
    if (stop_requested()) return Error::FromErrno(ECANCELED);
    ::Sleep(kPipeWait);
  }
}

Status WriteAll(int fd, std::string_view bytes) {
  const HANDLE handle = HandleOf(fd);
  while (!bytes.empty()) {
    DWORD written = 0;
    if (!::WriteFile(handle, bytes.data(), static_cast<DWORD>(std::min(bytes.size(), kLargestTransfer)),
                     &written, nullptr)) {
      return LastError();
    }
    bytes.remove_prefix(written);
  }
  return {};
}

Status Close(int fd) {
  if (::_close(fd) != 0) return Error::FromErrno(errno);
  return {};
}

// MoveFileExW with MOVEFILE_REPLACE_EXISTING replaces the target in one
// step, or leaves it as it was; MOVEFILE_WRITE_THROUGH returns only once the
// move is on the disk.
Status Rename(const char* from, const char* to) {
  const std::optional<std::wstring> wide_from = windows::WideName(from);
  const std::optional<std::wstring> wide_to = windows::WideName(to);
  if (!wide_from || !wide_to) return Error::FromErrno(EINVAL);
  if (!::MoveFileExW(wide_from->c_str(), wide_to->c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return LastError();
  }
  return {};
}

}  // namespace tervela::io::system
