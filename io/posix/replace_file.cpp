#include "io/replace_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <optional>
#include <random>
#include <system_error>

#include "io/files.h"
#include "io/system_calls.h"

namespace tervela::io {

namespace {

namespace fs = std::filesystem;

// The kernel's own limit on symbolic links followed in one path lookup.
constexpr int kMaxLinkHops = 40;
constexpr std::size_t kSinkBufferSize = 65536;
constexpr int kTemporaryNameAttempts = 100;

// Follows symbolic links from `path` to the file they finally name, which need
// not exist yet (a dangling link names the file it would create).
Result<fs::path> FollowLinks(const fs::path& path) {
  fs::path current = path;
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    struct stat info;
    if (::lstat(current.c_str(), &info) != 0) {
      if (errno == ENOENT) return current;
      return Error::FromErrno(errno);
    }
    if (!S_ISLNK(info.st_mode)) return current;
    std::error_code error;
    const fs::path target = fs::read_symlink(current, error);
    if (error) return Error::FromErrno(error.value());
    current = target.is_absolute() ? target : current.parent_path() / target;
  }
  return Error::FromErrno(ELOOP);
}

// Writes the contents into `file`, flushes them to disk and closes `file`,
// which is closed on every path.
Status WriteFlushClose(FileDescriptor file, const std::function<Status(ByteSink&)>& write_contents,
                       bool sync_to_disk) {
  const int fd = file.get();
  BufferedWriter sink(std::move(file), kSinkBufferSize);
  Status status = write_contents(sink);
  if (status) status = sink.Flush();
  if (status && sync_to_disk && ::fsync(fd) != 0) status = Error::FromErrno(errno);
  Status closed = sink.Close();
  return status.ok() ? closed : status;
}

// Truncates and writes the target where it is; a failure leaves the bytes
// written before it. The open does not wait: a FIFO that no one reads fails
// at once (ENXIO, "I/O error 6") instead of holding the program; the writes
// then block as usual.
Status WriteInPlace(const fs::path& target,
                    const std::function<Status(ByteSink&)>& write_contents) {
  FileDescriptor file(
      ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NONBLOCK, 0666));
  if (!file.is_open()) return OpenError(target, errno);
  const int flags = ::fcntl(file.get(), F_GETFL);
  if (flags < 0 || ::fcntl(file.get(), F_SETFL, flags & ~O_NONBLOCK) != 0) {
    return Error::FromErrno(errno);
  }
  return WriteFlushClose(std::move(file), write_contents, /*sync_to_disk=*/false);
}

// Creates a new, uniquely named file next to `target`, named after it and
// hidden. `mode` is passed to open, so the umask applies.
Result<FileDescriptor> CreateTemporaryFile(const fs::path& target, mode_t mode,
                                           fs::path& temporary) {
  static constexpr char kLetters[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  // Part of the target's name only, so a long name stays within the name limit.
  const std::string stem = target.filename().string().substr(0, 64);
  std::random_device random;
  std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
  for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
    std::string name = "." + stem + ".";
    for (int i = 0; i < 6; ++i) name.push_back(kLetters[pick(random)]);
    name += ".tmp";
    temporary = target.parent_path() / name;
    FileDescriptor file(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode));
    if (file.is_open()) return file;
    if (errno != EEXIST) return OpenError(temporary, errno);
  }
  return Error::FromErrno(EEXIST);
}

// Gives the temporary file the owner and permissions of the file it replaces.
// The owner can only be kept where the process may change it; otherwise the
// new file belongs to the one who saved it.
Status CopyOwnerAndMode(int fd, const struct stat& old_file) {
  if (::fchown(fd, old_file.st_uid, old_file.st_gid) != 0) {
    // Not allowed to give the file away: keep the saver as owner.
  }
  if (::fchmod(fd, old_file.st_mode & 07777) != 0) return Error::FromErrno(errno);
  return {};
}

// Makes the rename itself durable. The file is already in place, so a folder
// that cannot be opened or synced does not turn the save into a failure.
void SyncFolderOf(const fs::path& target) {
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  const FileDescriptor folder_file(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder_file.is_open()) ::fsync(folder_file.get());
}

}  // namespace

Status ReplaceFile(const std::string& path,
                   const std::function<Status(ByteSink& sink)>& write_contents) {
  Result<fs::path> resolved = FollowLinks(path);
  if (!resolved) return resolved.error();
  const fs::path& target = resolved.value();

  struct stat old_file;
  std::optional<struct stat> existing;
  if (::stat(target.c_str(), &old_file) == 0) existing = old_file;
  // Renaming over a device or a pipe would replace the node itself.
  if ((existing && !S_ISREG(existing->st_mode)) || !target.has_filename()) {
    return WriteInPlace(target, write_contents);
  }
  // Renaming would replace a write-protected file too; refuse it as opening
  // it for writing would.
  if (existing && ::access(target.c_str(), W_OK) != 0) return Error::FromErrno(errno);
  // Renaming would part a hard-linked file from its other names.
  if (existing && existing->st_nlink > 1) return WriteInPlace(target, write_contents);

  fs::path temporary;
  Result<FileDescriptor> created = CreateTemporaryFile(target, existing ? 0600 : 0666, temporary);
  if (!created) {
    // A folder that takes no new file may still hold a file the user may write.
    const int refused = created.error().errno_value();
    if (refused == EACCES || refused == EROFS) return WriteInPlace(target, write_contents);
    return created.error();
  }
  FileDescriptor& file = created.value();

  Status status;
  if (existing) status = CopyOwnerAndMode(file.get(), *existing);
  if (status) status = WriteFlushClose(std::move(file), write_contents, /*sync_to_disk=*/true);
  if (status) status = Rename(temporary.c_str(), target.c_str());
  if (!status) {
    ::unlink(temporary.c_str());
    return status;
  }
  SyncFolderOf(target);
  return {};
}

}  // namespace tervela::io
