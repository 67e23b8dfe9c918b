#include "io/files.h"

#include <fcntl.h>
#include <io.h>

#include <cerrno>

#include "io/windows/windows_error.h"

namespace tervela::io {

namespace {

using windows::LastError;

// Opens `name` with CreateFileW and gives the handle a descriptor of the C
// library, which the rest of the program holds as on POSIX. Handles are not
// inherited by child processes (as O_CLOEXEC).
Result<FileDescriptor> OpenHandle(const std::string& name, DWORD access, DWORD share,
                                  DWORD disposition, int descriptor_flags) {
  if (name.empty()) return Error::File(file_error::kFileNotFound);
  const std::optional<std::wstring> wide = windows::WideName(name);
  if (!wide) return Error::File(file_error::kInvalidFilename);
  const HANDLE handle =
      ::CreateFileW(wide->c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return LastError();
  const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), descriptor_flags | _O_BINARY);
  if (fd < 0) {
    ::CloseHandle(handle);
    return Error::FromErrno(EMFILE);
  }
  return FileDescriptor(fd);
}

// What Windows knows of the regular file open on `handle`; unset for a
// folder, a console, a pipe or a device.
std::optional<BY_HANDLE_FILE_INFORMATION> RegularFileInformation(HANDLE handle) {
  BY_HANDLE_FILE_INFORMATION information{};
  if (handle == INVALID_HANDLE_VALUE || ::GetFileType(handle) != FILE_TYPE_DISK ||
      !::GetFileInformationByHandle(handle, &information) ||
      (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return std::nullopt;
  }
  return information;
}

// The same for the file named `name`, opened for its attributes only: a file
// another program holds without sharing can still be looked at.
std::optional<BY_HANDLE_FILE_INFORMATION> RegularFileInformation(const std::string& name) {
  const std::optional<std::wstring> wide = windows::WideName(name);
  if (!wide || wide->empty()) return std::nullopt;
  const HANDLE handle = ::CreateFileW(wide->c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
  std::optional<BY_HANDLE_FILE_INFORMATION> information = RegularFileInformation(handle);
  ::CloseHandle(handle);
  return information;
}

std::optional<FileIdentity> IdentityOf(const std::optional<BY_HANDLE_FILE_INFORMATION>& information) {
  if (!information) return std::nullopt;
  return FileIdentity{information->dwVolumeSerialNumber,
                      (std::uint64_t{information->nFileIndexHigh} << 32) | information->nFileIndexLow};
}

std::optional<std::uint64_t> SizeOf(const std::optional<BY_HANDLE_FILE_INFORMATION>& information) {
  if (!information) return std::nullopt;
  return (std::uint64_t{information->nFileSizeHigh} << 32) | information->nFileSizeLow;
}

}  // namespace

// Windows tells a missing folder (ERROR_PATH_NOT_FOUND, "Invalid filename")
// from a missing file itself.
Error OpenError(const std::string&, int errno_value) { return Error::FromErrno(errno_value); }

// Others may read, write and rename the file while it is read. Windows opens
// no folder for reading: a folder is refused at the open either way, with the
// error a read of it gives on POSIX ("File access denied").
Result<FileDescriptor> OpenForReading(const std::string& name, FolderAtOpen) {
  return OpenHandle(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING,
                    _O_RDONLY);
}

// Others may read the file while it is written. A file another program holds
// open for writing, or without sharing, is a sharing violation (I/O error 32).
Result<FileDescriptor> CreateForWriting(const std::string& name) {
  return OpenHandle(name, GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS, _O_WRONLY);
}

std::optional<FileIdentity> RegularFileIdentity(int fd) {
  return IdentityOf(RegularFileInformation(windows::HandleOf(fd)));
}

std::optional<FileIdentity> RegularFileIdentity(const std::string& name) {
  return IdentityOf(RegularFileInformation(name));
}

std::optional<std::uint64_t> RegularFileSize(int fd) {
  return SizeOf(RegularFileInformation(windows::HandleOf(fd)));
}

std::optional<std::uint64_t> RegularFileSize(const std::string& name) {
  return SizeOf(RegularFileInformation(name));
}

}  // namespace tervela::io
