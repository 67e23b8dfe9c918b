#include "io/system_calls.h"

#include <array>
#include <atomic>

#include "io/system.h"

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
  return system::Read(fd, buffer, size);
}

Result<std::size_t> ReadWhenReady(int fd, char* buffer, std::size_t size,
                                  const std::function<bool()>& stop_requested) {
  if (const int injected = InjectedErrno(FaultPoint::Read)) return Error::FromErrno(injected);
  return system::ReadWhenReady(fd, buffer, size, stop_requested);
}

Status WriteAll(int fd, std::string_view bytes) {
  if (const int injected = InjectedErrno(FaultPoint::Write)) return Error::FromErrno(injected);
  return system::WriteAll(fd, bytes);
}

Status Close(int fd) {
  const int injected = InjectedErrno(FaultPoint::Close);
  Status closed = system::Close(fd);
  if (injected) return Error::FromErrno(injected);
  return closed;
}

Status Rename(const char* from, const char* to) {
  if (const int injected = InjectedErrno(FaultPoint::Rename)) return Error::FromErrno(injected);
  return system::Rename(from, to);
}

void InjectFault(FaultPoint point, int count, int errno_value) {
  ArmedFault& fault = FaultAt(point);
  fault.errno_value.store(errno_value);
  fault.countdown.store(count);
}

bool FaultPending(FaultPoint point) { return FaultAt(point).countdown.load() > 0; }

}  // namespace tervela::io
