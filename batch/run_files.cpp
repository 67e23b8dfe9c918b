#include "batch/run_files.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "io/files.h"

namespace tervela {

Status CheckFilesDistinct(int input_fd, std::span<const std::string> kept_names,
                          std::span<const int> output_fds,
                          std::span<const std::string> output_names) {
  std::vector<io::FileIdentity> seen;
  // Only regular files can be overwritten through another name; a terminal
  // or pipe may well be both ends of a run.
  auto add = [&seen](std::optional<io::FileIdentity> identity) {
    if (!identity) return true;
    if (std::find(seen.begin(), seen.end(), *identity) != seen.end()) return false;
    seen.push_back(*identity);
    return true;
  };
  // The files read may be one and the same; only a write may not meet them.
  add(io::RegularFileIdentity(input_fd));
  for (const std::string& name : kept_names) add(io::RegularFileIdentity(name));
  for (const int fd : output_fds) {
    if (!add(io::RegularFileIdentity(fd))) return Error::File(file_error::kSharingViolation);
  }
  for (const std::string& name : output_names) {
    if (!add(io::RegularFileIdentity(name))) return Error::File(file_error::kSharingViolation);
  }
  return {};
}

}  // namespace tervela
