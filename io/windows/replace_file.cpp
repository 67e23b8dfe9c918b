#include "io/replace_file.h"

#include <fcntl.h>
#include <io.h>

#include <cerrno>
#include <random>

#include "io/files.h"
#include "io/system_calls.h"
#include "io/windows/windows_error.h"

namespace tervela::io {

// The Windows form of the save by rename (io/replace_file.h), with the same
// promises and fallbacks:
// - the temporary file is made in the target's folder, hidden, and moved over
//   the target with MoveFileExW (io::Rename), which replaces it in one step
//   or leaves it as it was;
// - a target that cannot be opened for writing is refused with the error its
//   opening gives: a read-only file "File access denied", a file another
//   program holds without sharing "I/O error 32";
// - a symbolic link is followed to the file it names; one to no file is
//   written in place, which makes that file;
// - the replacement takes the old file's hidden, system and archive
//   attributes; its permissions come from the folder, as for any new file;
// - written in place: a device or a pipe (NUL, CON, \\.\pipe\...), a file
//   with other hard links, a folder that takes no new file.

namespace {

constexpr std::size_t kSinkBufferSize = 65536;
constexpr int kTemporaryNameAttempts = 100;
// The attributes a replaced file passes to its replacement.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                  FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

using windows::LastError;
using windows::WideName;

// The folder part of `name` with its last separator ("C:\data\", "C:", ""),
// and the name within it.
std::pair<std::string, std::string> SplitFolder(const std::string& name) {
  std::size_t cut = name.find_last_of("/\\");
  if (cut == std::string::npos && name.size() >= 2 && name[1] == ':') cut = 1;
  if (cut == std::string::npos) return {std::string(), name};
  return {name.substr(0, cut + 1), name.substr(cut + 1)};
}

// The target as it exists: the file, opened for writing to show that it may
// be written, and what Windows knows of it.
struct ExistingTarget {
  std::string name;  // through a symbolic link, the file it names
  DWORD type = FILE_TYPE_UNKNOWN;
  BY_HANDLE_FILE_INFORMATION information{};
};

// The existing target, nothing where there is no file of that name yet, or
// the error of opening it for writing.
Result<std::optional<ExistingTarget>> OpenExisting(const std::string& name) {
  const std::optional<std::wstring> wide = WideName(name);
  if (!wide) return Error::File(file_error::kInvalidFilename);
  const HANDLE handle = ::CreateFileW(wide->c_str(), GENERIC_WRITE,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    if (::GetLastError() != ERROR_FILE_NOT_FOUND) return LastError();
    // A symbolic link to no file: written in place, which makes the file it
    // names and keeps the link.
    const DWORD attributes = ::GetFileAttributesW(wide->c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
      return std::optional<ExistingTarget>();
    }
    return std::optional<ExistingTarget>(ExistingTarget{name});
  }
  ExistingTarget target{name};
  target.type = ::GetFileType(handle);
  if (target.type == FILE_TYPE_DISK && !::GetFileInformationByHandle(handle, &target.information)) {
    target.type = FILE_TYPE_UNKNOWN;
  }
  // Windows refuses to write a read-only file; Wine run by root does not.
  if (target.type == FILE_TYPE_DISK && (target.information.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0) {
    ::CloseHandle(handle);
    return Error::FromErrno(EACCES);
  }
  const DWORD attributes = ::GetFileAttributesW(wide->c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
    std::wstring final_name(MAX_PATH, L'\0');
    for (;;) {
      const DWORD size = ::GetFinalPathNameByHandleW(handle, final_name.data(),
                                                     static_cast<DWORD>(final_name.size()), FILE_NAME_NORMALIZED);
      if (size == 0) break;
      if (size < final_name.size()) {
        final_name.resize(size);
        target.name = windows::Utf8Name(final_name);
        break;
      }
      final_name.resize(size);
    }
  }
  ::CloseHandle(handle);
  return std::optional<ExistingTarget>(std::move(target));
}

// Writes the contents into `file`, flushes them to disk where asked and
// closes `file`, which is closed on every path.
Status WriteFlushClose(FileDescriptor file, const std::function<Status(ByteSink&)>& write_contents,
                       bool flush_to_disk) {
  const HANDLE handle = windows::HandleOf(file.get());
  BufferedWriter sink(std::move(file), kSinkBufferSize);
  Status status = write_contents(sink);
  if (status) status = sink.Flush();
  if (status && flush_to_disk && !::FlushFileBuffers(handle)) status = LastError();
  Status closed = sink.Close();
  return status.ok() ? closed : status;
}

// Truncates and writes the target where it is; a failure leaves the bytes
// written before it.
Status WriteInPlace(const std::string& target, const std::function<Status(ByteSink&)>& write_contents) {
  Result<OpenedForWriting> opened = OpenForWriting(target);
  if (!opened) return opened.error();
  if (Status emptied = Truncate(opened.value().file.get()); !emptied) return emptied;
  return WriteFlushClose(std::move(opened.value().file), write_contents, /*flush_to_disk=*/false);
}

// Creates a new, uniquely named, hidden file next to `target`, named after it.
Result<FileDescriptor> CreateTemporaryFile(const std::string& target, std::string& temporary) {
  static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  const auto [folder, file_name] = SplitFolder(target);
  // Part of the target's name only, so a long name stays within the name
  // limit; not cut inside a UTF-8 sequence.
  std::size_t stem_size = std::min<std::size_t>(file_name.size(), 64);
  while (stem_size > 0 && stem_size < file_name.size() && (file_name[stem_size] & 0xC0) == 0x80) --stem_size;
  std::random_device random;
  std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
  for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
    temporary = folder + "." + file_name.substr(0, stem_size) + ".";
    for (int i = 0; i < 6; ++i) temporary.push_back(kLetters[pick(random)]);
    temporary += ".tmp";
    const std::optional<std::wstring> wide = WideName(temporary);
    if (!wide) return Error::File(file_error::kInvalidFilename);
    const HANDLE handle =
        ::CreateFileW(wide->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
      const DWORD error = ::GetLastError();
      if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) continue;
      return LastError();
    }
    const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_BINARY);
    if (fd < 0) {
      ::CloseHandle(handle);
      ::DeleteFileW(wide->c_str());
      return Error::FromErrno(EMFILE);
    }
    return FileDescriptor(fd);
  }
  return Error::FromErrno(EEXIST);
}

// Gives the written temporary file the attributes its target is to have.
Status SetAttributes(const std::string& temporary, DWORD attributes) {
  const std::optional<std::wstring> wide = WideName(temporary);
  if (!wide || !::SetFileAttributesW(wide->c_str(), attributes)) return LastError();
  return {};
}

}  // namespace

Status ReplaceFile(const std::string& path, const std::function<Status(ByteSink& sink)>& write_contents) {
  Result<std::optional<ExistingTarget>> opened = OpenExisting(path);
  if (!opened) return opened.error();
  const std::optional<ExistingTarget>& existing = opened.value();
  const std::string target = existing ? existing->name : path;
  // Moving over a device or a pipe is not possible; moving over one of a
  // file's hard links would part it from the others.
  if (SplitFolder(target).second.empty() ||
      (existing && (existing->type != FILE_TYPE_DISK || existing->information.nNumberOfLinks > 1))) {
    return WriteInPlace(target, write_contents);
  }

  std::string temporary;
  Result<FileDescriptor> created = CreateTemporaryFile(target, temporary);
  if (!created) {
    // A folder that takes no new file may still hold a file the user may write.
    const int refused = created.error().errno_value();
    if (refused == EACCES || refused == EROFS) return WriteInPlace(target, write_contents);
    return created.error();
  }
  const DWORD attributes =
      existing ? (existing->information.dwFileAttributes & kKeptAttributes) : FILE_ATTRIBUTE_ARCHIVE;
  Status status = WriteFlushClose(std::move(created.value()), write_contents, /*flush_to_disk=*/true);
  if (status) status = SetAttributes(temporary, attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes);
  if (status) status = Rename(temporary.c_str(), target.c_str());
  if (!status) {
    if (const std::optional<std::wstring> wide = WideName(temporary)) ::DeleteFileW(wide->c_str());
    return status;
  }
  return {};
}

}  // namespace tervela::io
