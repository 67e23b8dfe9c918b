#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "common/result.h"
#include "io/buffered_writer.h"

namespace tervela::io {

// Writes a file so that a failure does not destroy the file it replaces.
// `write_contents` writes the whole contents into a temporary file in the
// target's folder; only when it, the flush to disk and the close all succeed is
// the temporary file renamed over the target. On any failure the temporary file
// is removed, the target is left as it was, and the error of the failing step
// is returned (except where the target is written in place, below).
// A write-protected target is refused ("File access denied"), as opening it for
// writing would be. A symbolic link is followed: the file it points to is
// replaced, the link stays. A replaced file keeps its permissions (and owner,
// where allowed); a new one gets 0666 less the umask.
// Where renaming cannot or must not be used, the target is written in place
// (truncated, written, closed; a failure leaves the bytes written before it):
// a target that is not a regular file (a device, a pipe), a file with other
// hard links, and a target in a folder where no temporary file can be made
// (EACCES, EROFS). A FIFO that no process reads is not waited for: it fails
// at once with "I/O error 6" (ENXIO). io/windows/replace_file.cpp keeps the
// same promises with Windows' own calls.
Status ReplaceFile(const std::string& path,
                   const std::function<Status(ByteSink& sink)>& write_contents);

}  // namespace tervela::io
