#include "batch/run_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace tervela {

namespace {

struct FileIdentity {
  dev_t device;
  ino_t inode;
  friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

FileIdentity IdentityOf(const struct stat& status) { return {status.st_dev, status.st_ino}; }

Status SharingViolation() { return Error::File(file_error::kSharingViolation); }

}  // namespace

Result<int> OpenInputFile(const std::string& name) {
  if (name.empty()) return Error::File(file_error::kFileNotFound);
  const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return Error::FromErrno(errno);
  struct stat status {};
  if (::fstat(fd, &status) != 0 || S_ISDIR(status.st_mode)) {
    const int error = S_ISDIR(status.st_mode) ? EISDIR : errno;
    ::close(fd);
    return Error::FromErrno(error);
  }
  return fd;
}

Result<int> CreateOutputFile(const std::string& name) {
  if (name.empty()) return Error::File(file_error::kFileNotFound);
  const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return Error::FromErrno(errno);
  return fd;
}

Status CheckFilesDistinct(int input_fd, std::span<const int> output_fds,
                          std::span<const std::string> output_names) {
  std::vector<FileIdentity> seen;
  struct stat status {};
  // Only a regular input can be overwritten through another name; a terminal
  // or pipe may well be both ends of a run.
  if (::fstat(input_fd, &status) == 0 && S_ISREG(status.st_mode)) seen.push_back(IdentityOf(status));
  for (const int fd : output_fds) {
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode)) {
      for (const FileIdentity& other : seen) {
        if (other == IdentityOf(status)) return SharingViolation();
      }
      seen.push_back(IdentityOf(status));
    }
  }
  for (const std::string& name : output_names) {
    if (name.empty() || ::stat(name.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) continue;
    for (const FileIdentity& other : seen) {
      if (other == IdentityOf(status)) return SharingViolation();
    }
    seen.push_back(IdentityOf(status));
  }
  return {};
}

}  // namespace tervela
