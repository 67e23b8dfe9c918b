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
// inherited by child processes (as O_CLOEXEC). `existed` tells, for
// OPEN_ALWAYS, whether the file was there already.
Result<FileDescriptor> OpenHandle(const std::string& name, DWORD access, DWORD share, DWORD disposition,
                                  int descriptor_flags, bool* existed = nullptr,
                                  DWORD flags = FILE_ATTRIBUTE_NORMAL) {
  if (name.empty()) return Error::File(file_error::kFileNotFound);
  const std::optional<std::wstring> wide = windows::WideName(name);
  if (!wide) return Error::File(file_error::kInvalidFilename);
  const HANDLE handle = ::CreateFileW(wide->c_str(), access, share, nullptr, disposition, flags, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return LastError();
  if (existed != nullptr) *existed = ::GetLastError() == ERROR_ALREADY_EXISTS;
  // Windows refuses to write a read-only file; Wine run by root does not.
  BY_HANDLE_FILE_INFORMATION information{};
  if ((access & GENERIC_WRITE) != 0 && ::GetFileInformationByHandle(handle, &information) &&
      (information.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0) {
    ::CloseHandle(handle);
    return Error::FromErrno(EACCES);
  }
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
// a folder only when asked to (FILE_FLAG_BACKUP_SEMANTICS): with
// FolderAtOpen::Open it is, and its first read fails as on POSIX (system.cpp);
// else the open is refused with the error that read gives, "File access
// denied".
Result<FileDescriptor> OpenForReading(const std::string& name, FolderAtOpen folder) {
  const DWORD flags = folder == FolderAtOpen::Open ? FILE_FLAG_BACKUP_SEMANTICS : FILE_ATTRIBUTE_NORMAL;
  return OpenHandle(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING,
                    _O_RDONLY, nullptr, flags);
}

// Others may read and write the file while it is written, as on POSIX: two
// names of one file a run writes are then told by the file's identity
// (batch/run_files.cpp), with the same error on every system. A file another
// program holds without sharing is a sharing violation (I/O error 32).
// OPEN_ALWAYS makes a missing file and tells in the same step whether it did.
Result<OpenedForWriting> OpenForWriting(const std::string& name) {
  bool existed = false;
  Result<FileDescriptor> file =
      OpenHandle(name, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_ALWAYS, _O_WRONLY, &existed);
  if (!file) return file.error();
  return OpenedForWriting{std::move(file.value()), !existed};
}

// Sets the end of file without moving the descriptor's position, as ftruncate.
Status Truncate(int fd) {
  const HANDLE handle = windows::HandleOf(fd);
  const std::optional<std::uint64_t> size = SizeOf(RegularFileInformation(handle));
  if (!size || *size == 0) return {};
  FILE_END_OF_FILE_INFO end{};
  if (!::SetFileInformationByHandle(handle, FileEndOfFileInfo, &end, sizeof end)) return LastError();
  return {};
}

void RemoveCreated(const std::string& name) {
  if (const std::optional<std::wstring> wide = windows::WideName(name)) ::DeleteFileW(wide->c_str());
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
