#include "io/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

namespace tervela::io {

namespace {

bool StatRegular(int fd, struct stat& status) {
  return ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
}

bool StatRegular(const std::string& name, struct stat& status) {
  return !name.empty() && ::stat(name.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

FileIdentity IdentityOf(const struct stat& status) {
  return {static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)};
}

bool FolderExists(const std::filesystem::path& folder) {
  struct stat status {};
  return folder.empty() || (::stat(folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode));
}

}  // namespace

Error OpenError(const std::string& name, int errno_value) {
  if (errno_value == ENOENT && !FolderExists(std::filesystem::path(name).parent_path())) {
    return Error::File(file_error::kInvalidFilename);
  }
  return Error::FromErrno(errno_value);
}

Result<FileDescriptor> OpenForReading(const std::string& name, FolderAtOpen folder) {
  if (name.empty()) return Error::File(file_error::kFileNotFound);
  FileDescriptor file(::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (!file.is_open()) return OpenError(name, errno);
  const int flags = ::fcntl(file.get(), F_GETFL);
  if (flags < 0 || ::fcntl(file.get(), F_SETFL, flags & ~O_NONBLOCK) != 0) {
    return Error::FromErrno(errno);
  }
  if (folder == FolderAtOpen::Open) return file;
  struct stat status {};
  if (::fstat(file.get(), &status) != 0) return Error::FromErrno(errno);
  if (S_ISDIR(status.st_mode)) return Error::FromErrno(EISDIR);
  return file;
}

Result<OpenedForWriting> OpenForWriting(const std::string& name) {
  if (name.empty()) return Error::File(file_error::kFileNotFound);
  FileDescriptor file(::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
  if (file.is_open()) return OpenedForWriting{std::move(file), true};
  if (errno != EEXIST) return OpenError(name, errno);
  // The file exists (or a symbolic link does, whose target is then made).
  file = FileDescriptor(::open(name.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666));
  if (!file.is_open()) return OpenError(name, errno);
  return OpenedForWriting{std::move(file), false};
}

Status Truncate(int fd) {
  struct stat status {};
  if (!StatRegular(fd, status) || status.st_size == 0) return {};
  if (::ftruncate(fd, 0) != 0) return Error::FromErrno(errno);
  return {};
}

void RemoveCreated(const std::string& name) { ::unlink(name.c_str()); }

std::optional<FileIdentity> RegularFileIdentity(int fd) {
  struct stat status {};
  if (!StatRegular(fd, status)) return std::nullopt;
  return IdentityOf(status);
}

std::optional<FileIdentity> RegularFileIdentity(const std::string& name) {
  struct stat status {};
  if (!StatRegular(name, status)) return std::nullopt;
  return IdentityOf(status);
}

std::optional<std::uint64_t> RegularFileSize(int fd) {
  struct stat status {};
  if (!StatRegular(fd, status)) return std::nullopt;
  return static_cast<std::uint64_t>(status.st_size);
}

std::optional<std::uint64_t> RegularFileSize(const std::string& name) {
  struct stat status {};
  if (!StatRegular(name, status)) return std::nullopt;
  return static_cast<std::uint64_t>(status.st_size);
}

}  // namespace tervela::io
