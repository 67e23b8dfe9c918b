#pragma once

#include <span>
#include <string>

#include "common/result.h"

namespace tervela {

// Guards the input, which a run holds open but cannot lock against writers,
// and the files named in `kept_names` (the settings record): fails with
// "I/O error 32" (sharing violation) when one of the output descriptors or
// names designates one of them (the same path, a symbolic link or a hard
// link), or two of the output names designate the same file. Names that do not
// exist yet designate nothing. Nothing is created or changed.
Status CheckFilesDistinct(int input_fd, std::span<const std::string> kept_names,
                          std::span<const int> output_fds,
                          std::span<const std::string> output_names);

}  // namespace tervela
