#pragma once

#include <span>
#include <string>
#include <vector>

#include "common/result.h"
#include "io/file_descriptor.h"

namespace tervela {

// Guards the input, which a run holds open but cannot lock against writers,
// and the files named in `kept_names` (the settings record): fails with
// "I/O error 32" (sharing violation) when one of the output descriptors or
// names designates one of them (the same path, a symbolic link or a hard
// link), or two of the outputs designate the same file. Names that do not
// exist yet designate nothing. Nothing is created or changed.
Status CheckFilesDistinct(int input_fd, std::span<const std::string> kept_names,
                          std::span<const int> output_fds,
                          std::span<const std::string> output_names);

// Opens the files `names` a run writes before it changes any: each is
// opened, or made where it is missing, in order; then the open files are
// checked with CheckFilesDistinct against the input, `kept_names`, the
// descriptors `given_outputs` and each other, which finds two names of one
// file made just now as well; only then are the existing ones emptied. A
// failure removes the files made, so that a run refused here changes nothing;
// the error of an open names its file (Error::At with line 0) from
// `names[named_from]` on.
Result<std::vector<io::FileDescriptor>> OpenRunOutputs(std::span<const std::string> names,
                                                       std::size_t named_from, int input_fd,
                                                       std::span<const std::string> kept_names,
                                                       std::span<const int> given_outputs);

}  // namespace tervela
