#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

#include "common/result.h"

namespace tervela::io {

// The program's reads, writes, closes and renames, each retried on EINTR and
// each failure turned into the program's file error. Every file the program
// touches goes through these, so that a test can make any one of them fail
// (InjectFault).

// Reads at most `size` bytes; 0 at the end of the file.
Result<std::size_t> Read(int fd, char* buffer, std::size_t size);
// Read, once poll() says `fd` has data or its end: a pipe or FIFO whose writer
// has not come yet is waited for, not taken as ended, whether or not `fd` is
// non-blocking. While it waits, `stop_requested` (when given) is asked about
// every kStopCheckInterval milliseconds; true ends the wait with an error
// whose errno_value() is ECANCELED.
inline constexpr int kStopCheckInterval = 100;
Result<std::size_t> ReadWhenReady(int fd, char* buffer, std::size_t size,
                                  const std::function<bool()>& stop_requested);
// Writes all of `bytes`.
Status WriteAll(int fd, std::string_view bytes);
// Closes `fd`; it is closed whether or not an error is reported.
Status Close(int fd);
Status Rename(const char* from, const char* to);

// The operations a test can make fail.
enum class FaultPoint { Read, Write, Close, Rename };

// Makes the `count`-th call (1 for the next) of `point` fail with `errno_value`
// instead of reaching the system; a read, write or rename that fails this way
// does nothing, a close still closes. One fault per point is armed at a time; a
// count of 0 disarms it.
void InjectFault(FaultPoint point, int count, int errno_value);
// True while an armed fault has not been reached yet.
bool FaultPending(FaultPoint point);

}  // namespace tervela::io
