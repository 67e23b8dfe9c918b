// The fault points (system_calls.h): which call an armed fault fails, what
// that call does, and that the fault is spent once reached.

#include "io/system_calls.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <string_view>

#include "test_support/scratch_folder.h"
#include "test_support/system.h"

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
  // Each of three calls' outcome, then what they left: the bytes read from
  // "abc", the bytes written ("x", "y", "z" in turn), whether each descriptor
  // is closed, whether each file was renamed.
  const char* calls;
};

// Makes `call` three times on fresh files in `folder` and tells what
// happened, as FaultCase::calls does.
std::string MakeCalls(Call call, const ScratchFolder& folder) {
  std::string outcome, effect;
  const int fd = testing::DescriptorHolding("abc");
  if (fd < 0) return "set-up failed";
  for (int i = 0; i < 3; ++i) {
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
        if (status.ok()) effect.push_back(static_cast<char>('x' + i));
        break;
      case Call::Close: {
        const int closed = ::dup(fd);
        status = Close(closed);
        effect += testing::DescriptorOpen(closed) ? " open" : " closed";
        break;
      }
      case Call::Rename:
        testing::WriteBytes(name, "r");
        status = Rename(name.c_str(), (name + ".renamed").c_str());
        effect += Exists(name + ".renamed") ? " renamed" : " kept";
        break;
    }
    outcome += (status.ok() ? std::string("ok") : status.error().message()) + "; ";
  }
  // A write that failed wrote nothing: the file holds what the others wrote.
  if (call == Call::Write && ::lseek(fd, 0, SEEK_CUR) != static_cast<off_t>(effect.size())) {
    effect += " (file length differs)";
  }
  ::close(fd);
  return outcome + effect;
}

class FaultPoints : public ::testing::TestWithParam<FaultCase> {};

// The count-th call fails with the armed errno and does nothing, but a close
// still closes; every other call reaches the system, and a reached fault is
// spent.
TEST_P(FaultPoints, FailTheCountedCallOnly) {
  const FaultCase& c = GetParam();
  ScratchFolder folder;
  InjectFault(c.point, c.count == 0 ? 1 : c.count, EIO);
  if (c.count == 0) InjectFault(c.point, 0, 0);
  EXPECT_EQ(FaultPending(c.point), c.count > 0);
  EXPECT_EQ(MakeCalls(c.call, folder), c.calls);
  const bool failed = std::string_view(c.calls).find("error") != std::string_view::npos;
  EXPECT_EQ(FaultPending(c.point), c.count > 0 && !failed);
  InjectFault(c.point, 0, 0);
}

INSTANTIATE_TEST_SUITE_P(
    SystemCalls, FaultPoints,
    ::testing::Values(
        FaultCase{"FirstRead", Call::Read, FaultPoint::Read, 1, "I/O error 5; ok; ok; ab"},
        FaultCase{"SecondReadWhenReady", Call::ReadWhenReady, FaultPoint::Read, 2,
                  "ok; I/O error 5; ok; ab"},
        FaultCase{"FirstWrite", Call::Write, FaultPoint::Write, 1, "I/O error 5; ok; ok; yz"},
        FaultCase{"ThirdWrite", Call::Write, FaultPoint::Write, 3, "ok; ok; I/O error 5; xy"},
        FaultCase{"SecondCloseStillCloses", Call::Close, FaultPoint::Close, 2,
                  "ok; I/O error 5; ok;  closed closed closed"},
        FaultCase{"SecondRename", Call::Rename, FaultPoint::Rename, 2,
                  "ok; I/O error 5; ok;  renamed kept renamed"},
        FaultCase{"CountBeyondTheCallsStaysPending", Call::Write, FaultPoint::Write, 4,
                  "ok; ok; ok; xyz"},
        FaultCase{"CountZeroDisarms", Call::Rename, FaultPoint::Rename, 0,
                  "ok; ok; ok;  renamed renamed renamed"},
        FaultCase{"OtherPointsUntouched", Call::Read, FaultPoint::Write, 1, "ok; ok; ok; abc"}),
    [](const ::testing::TestParamInfo<FaultCase>& info) { return info.param.name; });

}  // namespace
}  // namespace tervela::io
