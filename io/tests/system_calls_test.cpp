// The fault points (system_calls.h): which call an armed fault fails, what
// that call does, and that the fault is spent once reached.

#include "io/system_calls.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "test_support/scratch_folder.h"

namespace tervela::io {
namespace {

using testing::Exists;
using testing::ScratchFolder;

enum class Call { Read, ReadWhenReady, Write, Close, Rename };

struct FaultCase {
  const char* name;
  Call call;
  FaultPoint point;
  int count;  // as InjectFault takes it; 0 re-arms a fault of count 1 to nothing
};

constexpr int kCalls = 3;

// Makes `call` kCalls times on fresh files in `folder`, and returns each
// call's outcome ("ok" or the message) and what the calls left: the bytes
// read, the bytes written, the descriptors still open, the files renamed.
std::string MakeCalls(Call call, const ScratchFolder& folder) {
  std::string outcome, effect;
  // Reads take "abc" from it; writes go into it.
  const int fd = ::memfd_create("fault-point", MFD_CLOEXEC);
  const bool reads = call == Call::Read || call == Call::ReadWhenReady;
  if (reads && ::pwrite(fd, "abc", 3, 0) != 3) return "set-up failed";
  for (int i = 0; i < kCalls; ++i) {
    Status status;
    char byte = '?';
    const std::string name = folder / std::to_string(i);
    switch (call) {
      case Call::Read:
      case Call::ReadWhenReady: {
        const Result<std::size_t> read =
            call == Call::Read ? Read(fd, &byte, 1) : ReadWhenReady(fd, &byte, 1, nullptr);
        status = read.status();
        if (read.ok()) effect.push_back(byte);
        break;
      }
      case Call::Write:
        status = WriteAll(fd, std::string(1, static_cast<char>('x' + i)));
        break;
      case Call::Close: {
        const int closed = ::dup(fd);
        status = Close(closed);
        effect += ::fcntl(closed, F_GETFD) == -1 ? "closed " : "open ";
        break;
      }
      case Call::Rename:
        testing::WriteBytes(name, "r");
        status = Rename(name.c_str(), (name + ".renamed").c_str());
        effect += Exists(name + ".renamed") ? "renamed " : "kept ";
        break;
    }
    outcome += (status.ok() ? std::string("ok") : status.error().message()) + "; ";
  }
  if (call == Call::Write) {
    char written[8] = {};
    effect.assign(written, static_cast<std::size_t>(::pread(fd, written, sizeof written, 0)));
  }
  ::close(fd);
  return outcome + effect;
}

class FaultPoints : public ::testing::TestWithParam<FaultCase> {};

// The count-th call fails with the armed errno and does nothing, but a close
// still closes; every other call reaches the system.
TEST_P(FaultPoints, FailTheCountedCallOnly) {
  const FaultCase& c = GetParam();
  ScratchFolder folder;
  const int count = c.count == 0 ? 1 : c.count;
  InjectFault(c.point, count, EIO);
  if (c.count == 0) InjectFault(c.point, 0, 0);
  EXPECT_EQ(FaultPending(c.point), c.count > 0);

  std::string expected;
  for (int i = 1; i <= kCalls; ++i) expected += i == c.count ? "I/O error 5; " : "ok; ";
  const auto done = [&](int i) { return i != c.count; };
  switch (c.call) {
    case Call::Read:
    case Call::ReadWhenReady:
      for (int i = 1, next = 0; i <= kCalls; ++i) {
        if (done(i)) expected.push_back("abc"[next++]);
      }
      break;
    case Call::Write:
      for (int i = 1; i <= kCalls; ++i) {
        if (done(i)) expected.push_back(static_cast<char>('x' + i - 1));
      }
      break;
    case Call::Close:
      for (int i = 1; i <= kCalls; ++i) expected += "closed ";
      break;
    case Call::Rename:
      for (int i = 1; i <= kCalls; ++i) expected += done(i) ? "renamed " : "kept ";
      break;
  }
  EXPECT_EQ(MakeCalls(c.call, folder), expected);
  EXPECT_EQ(FaultPending(c.point), c.count > kCalls);
  InjectFault(c.point, 0, 0);
}

INSTANTIATE_TEST_SUITE_P(
    SystemCalls, FaultPoints,
    ::testing::Values(FaultCase{"FirstRead", Call::Read, FaultPoint::Read, 1},
                      FaultCase{"SecondReadWhenReady", Call::ReadWhenReady, FaultPoint::Read, 2},
                      FaultCase{"FirstWrite", Call::Write, FaultPoint::Write, 1},
                      FaultCase{"ThirdWrite", Call::Write, FaultPoint::Write, 3},
                      FaultCase{"SecondCloseStillCloses", Call::Close, FaultPoint::Close, 2},
                      FaultCase{"SecondRename", Call::Rename, FaultPoint::Rename, 2},
                      FaultCase{"CountBeyondTheCallsStaysPending", Call::Write, FaultPoint::Write, 4},
                      FaultCase{"CountZeroDisarms", Call::Rename, FaultPoint::Rename, 0},
                      FaultCase{"OtherPointsUntouched", Call::Write, FaultPoint::Read, 4}),
    [](const ::testing::TestParamInfo<FaultCase>& info) { return info.param.name; });

}  // namespace
}  // namespace tervela::io
