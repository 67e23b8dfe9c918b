#pragma once

#include <string>

#include "common/result.h"

namespace tervela::io {

// Writes every byte of the file `from` to `to`, as ReplaceFile writes: a file
// already named `to` is replaced only once the whole copy is written. The
// error is the file error of the failing open, read or write.
Status CopyFile(const std::string& from, const std::string& to);

}  // namespace tervela::io
