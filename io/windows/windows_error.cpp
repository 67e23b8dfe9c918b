#include "io/windows/windows_error.h"

#include <io.h>

#include <algorithm>
#include <cerrno>

namespace tervela::io::windows {

std::optional<std::wstring> WideName(std::string_view name) {
  if (name.empty()) return std::wstring();
  const int size = static_cast<int>(name.size());
  const int wide_size = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, name.data(), size, nullptr, 0);
  if (wide_size <= 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(wide_size), L'\0');
  ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, name.data(), size, wide.data(), wide_size);
  // A NUL inside the name would cut it short at the system.
  if (wide.find(L'\0') != std::wstring::npos) return std::nullopt;
  return wide;
}

std::string Utf8Name(std::wstring_view name) {
  if (name.empty()) return {};
  const int size = static_cast<int>(name.size());
  const int narrow_size = ::WideCharToMultiByte(CP_UTF8, 0, name.data(), size, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(std::max(narrow_size, 0)), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, name.data(), size, narrow.data(), narrow_size, nullptr, nullptr);
  return narrow;
}

int ErrnoOf(DWORD code) {
  switch (code) {
    case ERROR_FILE_NOT_FOUND: return ENOENT;
    // The folder of the name does not exist: "Invalid filename", as ENOENT
    // is for a missing folder on POSIX (io::OpenError).
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_DIRECTORY: return ENOTDIR;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME: return EINVAL;
    case ERROR_FILENAME_EXCED_RANGE: return ENAMETOOLONG;
    case ERROR_CANT_RESOLVE_FILENAME: return ELOOP;  // symbolic links in a loop
    case ERROR_TOO_MANY_OPEN_FILES: return EMFILE;
    case ERROR_ACCESS_DENIED: return EACCES;
    case ERROR_WRITE_PROTECT: return EROFS;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return ENOSPC;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return EEXIST;
    // Writing to a pipe whose reader went away.
    case ERROR_BROKEN_PIPE:
    case ERROR_NO_DATA: return EPIPE;
    default: return kSystemErrorBase + static_cast<int>(code);
  }
}

Error LastError() { return Error::FromErrno(ErrnoOf(::GetLastError())); }

HANDLE HandleOf(int fd) { return reinterpret_cast<HANDLE>(::_get_osfhandle(fd)); }

}  // namespace tervela::io::windows
