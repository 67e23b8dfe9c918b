#include "batch/run_files.h"

#include <algorithm>
#include <optional>

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

Result<std::vector<io::FileDescriptor>> OpenRunOutputs(std::span<const std::string> names,
                                                       std::size_t named_from, int input_fd,
                                                       std::span<const std::string> kept_names,
                                                       std::span<const int> given_outputs) {
  std::vector<io::FileDescriptor> files(names.size());
  std::vector<const std::string*> created;
  // Closed before the files made are removed: Windows removes no open file.
  const auto refuse = [&files, &created](Error error) {
    files.clear();
    for (const std::string* name : created) io::RemoveCreated(*name);
    return error;
  };
  std::vector<int> fds(given_outputs.begin(), given_outputs.end());
  for (std::size_t i = 0; i < names.size(); ++i) {
    Result<io::OpenedForWriting> opened = io::OpenForWriting(names[i]);
    if (!opened.ok()) {
      return refuse(i < named_from ? opened.error() : opened.error().At(names[i], 0));
    }
    if (opened.value().created) created.push_back(&names[i]);
    files[i] = std::move(opened.value().file);
    fds.push_back(files[i].get());
  }
  if (Status distinct = CheckFilesDistinct(input_fd, kept_names, fds, {}); !distinct) {
    return refuse(distinct.error());
  }
  for (const io::FileDescriptor& file : files) {
    if (Status emptied = io::Truncate(file.get()); !emptied) return refuse(emptied.error());
  }
  return files;
}

}  // namespace tervela
