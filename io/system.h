#pragma once

// The operating system's side of io/system_calls.h, one implementation per
// system (io/posix/, io/windows/; CMake picks one). io/system_calls.cpp puts
// the test faults in front of these. Internal to io/.

#include <cstddef>
#include <functional>
#include <string_view>

#include "common/result.h"

namespace tervela::io::system {

Result<std::size_t> Read(int fd, char* buffer, std::size_t size);
Result<std::size_t> ReadWhenReady(int fd, char* buffer, std::size_t size,
                                  const std::function<bool()>& stop_requested);
Status WriteAll(int fd, std::string_view bytes);
Status Close(int fd);
// Replaces `to`, where it exists, by `from` in one step.
Status Rename(const char* from, const char* to);

}  // namespace tervela::io::system
