#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "common/result.h"
#include "io/buffered_writer.h"

namespace tervela::io {

// Writes a file so that a failure never destroys the file it replaces.
// `write_contents` writes the whole contents into a temporary file in the
// target's folder; only when it, the flush to disk and the close all succeed is
// the temporary file renamed over the target. On any failure the temporary file
// is removed, the target is left as it was, and the error of the failing step
// is returned.
// A write-protected target is refused ("File access denied"), as opening it for
// writing would be. A symbolic link is followed: the file it points to is
// replaced, the link stays. A replaced file keeps its permissions (and owner,
// where allowed); a new one gets 0666 less the umask. A target that exists but
// is not a regular file (a device, a pipe) cannot be replaced by renaming and
// is written in place.
Status ReplaceFile(const std::string& path,
                   const std::function<Status(ByteSink& sink)>& write_contents);

}  // namespace tervela::io
