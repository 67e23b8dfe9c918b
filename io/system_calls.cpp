#include "io/system_calls.h"

#include <poll.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <cstdio>

namespace tervela::io {

namespace {

struct ArmedFault {
  std::atomic<int> countdown{0};
  std::atomic<int> errno_value{0};
};

std::array<ArmedFault, 4> armed_faults;

ArmedFault& FaultAt(FaultPoint point) { return armed_faults[static_cast<std::size_t>(point)]; }

// The errno of an injected failure due at this call, or 0. One relaxed load
// when nothing is armed.
int InjectedErrno(FaultPoint point) {
  ArmedFault& fault = FaultAt(point);
  if (fault.countdown.load(std::memory_order_relaxed) <= 0) return 0;
  return fault.countdown.fetch_sub(1) == 1 ? fault.errno_value.load() : 0;
}

}  // namespace

Result<std::size_t> Read(int fd, char* buffer, std::size_t size) {
  if (const int injected = InjectedErrno(FaultPoint::Read)) return Error::FromErrno(injected);
  for (;;) {
    const ssize_t n = ::read(fd, buffer, size);
    if (n >= 0) return static_cast<std::size_t>(n);
    if (errno != EINTR) return Error::FromErrno(errno);
  }
}

Result<std::size_t> ReadWhenReady(int fd, char* buffer, std::size_t size,
                                  const std::function<bool()>& stop_requested) {
  if (const int injected = InjectedErrno(FaultPoint::Read)) return Error::FromErrno(injected);
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
  if (const int injected = InjectedErrno(FaultPoint::Write)) return Error::FromErrno(injected);
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return Error::FromErrno(errno);
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return {};
}

Status Close(int fd) {
  const int injected = InjectedErrno(FaultPoint::Close);
  // Linux frees the descriptor even when close fails, so it is never retried.
  const int result = ::close(fd);
  if (injected) return Error::FromErrno(injected);
  if (result != 0 && errno != EINTR) return Error::FromErrno(errno);
  return {};
}

Status Rename(const char* from, const char* to) {
  if (const int injected = InjectedErrno(FaultPoint::Rename)) return Error::FromErrno(injected);
  if (std::rename(from, to) != 0) return Error::FromErrno(errno);
  return {};
}

void InjectFault(FaultPoint point, int count, int errno_value) {
  ArmedFault& fault = FaultAt(point);
  fault.errno_value.store(errno_value);
  fault.countdown.store(count);
}

bool FaultPending(FaultPoint point) { return FaultAt(point).countdown.load() > 0; }

}  // namespace tervela::io
