#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "common/result.h"
#include "io/file_descriptor.h"

namespace tervela::io {

// Whether OpenForReading refuses a folder at once ("File access denied"), or
// opens it so that its first read fails with the same error.
enum class FolderAtOpen { Refuse, Open };

// Opens an existing file for reading. An empty name is "File not found". The
// open never waits: a FIFO without a writer is opened at once (its reads wait
// for the writer, io::ReadWhenReady), and the descriptor is left blocking.
Result<FileDescriptor> OpenForReading(const std::string& name,
                                      FolderAtOpen folder = FolderAtOpen::Refuse);

// A file opened for writing and not changed yet: an existing one as it is,
// a missing one made empty (0666 less the umask); `created` tells which.
struct OpenedForWriting {
  FileDescriptor file;
  bool created = false;
};

// Opens `name` for writing without changing a file that exists, so that a
// run can open every file it writes before it empties any. An empty name is
// "File not found".
Result<OpenedForWriting> OpenForWriting(const std::string& name);

// Empties the regular file open on `fd`; anything else (a FIFO, a device) is
// left as it is, as an open that truncates leaves it.
Status Truncate(int fd);

// Removes `name`, a file OpenForWriting created for a run that then wrote
// nothing; a failure leaves it, empty.
void RemoveCreated(const std::string& name);

// The error of a failed open or create of `name`: ENOENT is "Invalid filename"
// (path not found) where the folder of the name does not exist, and "File not
// found" only where it does; every other errno maps as Error::FromErrno.
Error OpenError(const std::string& name, int errno_value);

// What makes two names or descriptors the same file: the device and inode
// numbers, or on Windows the volume serial number and the file index.
struct FileIdentity {
  std::uint64_t volume;
  std::uint64_t file;
  friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

// The identity of the regular file open on `fd` or named `name` (symbolic
// links followed); unset for anything else: a terminal, a pipe, a device, a
// name that does not exist.
std::optional<FileIdentity> RegularFileIdentity(int fd);
std::optional<FileIdentity> RegularFileIdentity(const std::string& name);

// The size of the regular file open on `fd` or named `name`; unset otherwise.
std::optional<std::uint64_t> RegularFileSize(int fd);
std::optional<std::uint64_t> RegularFileSize(const std::string& name);

}  // namespace tervela::io
