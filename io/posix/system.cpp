#include "io/system.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "io/system_calls.h"

namespace tervela::io::system {

Result<std::size_t> Read(int fd, char* buffer, std::size_t size) {
  for (;;) {
    const ssize_t n = ::read(fd, buffer, size);
    if (n >= 0) return static_cast<std::size_t>(n);
    if (errno != EINTR) return Error::FromErrno(errno);
  }
}

Result<std::size_t> ReadWhenReady(int fd, char* buffer, std::size_t size,
                                  const std::function<bool()>& stop_requested) {
  const int timeout = stop_requested ? kStopCheckInterval : -1;
  for (;;) {
    pollfd wanted{.fd = fd, .events = POLLIN, .revents = 0};
    const int ready = ::poll(&wanted, 1, timeout);
    if (ready < 0 && errno != EINTR) return Error::FromErrno(errno);
    if (ready == 0 && stop_requested()) return Error::FromErrno(ECANCELED);
    if (ready <= 0) continue;
    const ssize_t n = ::read(fd, buffer, size);
    if (n >= 0) return static_cast<std::size_t>(n);
    // EAGAIN: a non-blocking descriptor whose data another reader took.
    if (errno != EINTR && errno != EAGAIN) return Error::FromErrno(errno);
  }
}

Status WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return Error::FromErrno(errno);
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return {};
}

Status Close(int fd) {
  // Linux frees the descriptor even when close fails, so it is never retried.
  if (::close(fd) != 0 && errno != EINTR) return Error::FromErrno(errno);
  return {};
}

Status Rename(const char* from, const char* to) {
  if (std::rename(from, to) != 0) return Error::FromErrno(errno);
  return {};
}

}  // namespace tervela::io::system
