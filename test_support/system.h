#pragma once

// What the tests ask of the operating system beyond reading and writing
// files, one implementation per system (system_posix.cpp,
// system_windows.cpp). Where a system lacks what a test needs, WhyLacking
// says so and the test skips with that reason.

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "common/result.h"

namespace tervela::testing {

enum class Facility {
  Fifo,              // a FIFO in the file system
  FullDevice,        // a device that is always full (/dev/full) and one of endless zeros (/dev/zero)
  FileSizeLimit,     // a limit on the size of the files a process writes
  PosixPermissions,  // owner, group and other permission bits, the umask
  SymbolicLinks,     // symbolic links an ordinary user may make
  HeldWithoutSharing,  // a file another program holds open, refusing others
  LocaleFromEnvironment,  // the decimal separator of the locale LC_ALL names
  HostProjPrograms,       // PROJ's command-line programs (proj-bin) through a shell
  RegionalSettings,       // the user's decimal separator in the system's regional settings
};

// Empty where this system has `facility`; else why it lacks it.
std::string WhyLacking(Facility facility);

// How many times the work of a run must grow here to outlast the opening of
// a window: 1 on Linux; a window under Wine takes a second or two to open.
int WindowOpeningFactor();

// Sets the environment variable `name` to `value`, or removes it for null.
void SetEnvironment(const char* name, const char* value);

// Makes a FIFO named `path`; false where it cannot.
bool MakeFifo(const std::string& path);

enum class OpenMode { Read, Write, Append, ReadWriteNonBlocking, WriteNonBlocking };
// A descriptor open on `path` (Write creates or truncates), or -1.
int OpenDescriptor(const std::string& path, OpenMode mode);
// A descriptor read and written from its start, holding `bytes`, in memory
// or a file that goes when it is closed.
int DescriptorHolding(const std::string& bytes);
// Whether `fd` is an open descriptor.
bool DescriptorOpen(int fd);
// A pipe: `ends[0]` reads what `ends[1]` writes; false where none was made.
bool MakePipe(int ends[2]);
// The read end of a pipe that no one writes to and whose writer stays open,
// so that a read of it waits.
int WaitingPipe();
// A descriptor whose reads fail with "File access denied": a folder's on
// POSIX, a write-only file's on Windows.
int UnreadableDescriptor();
// The number of files (descriptors, handles) the process has open.
int OpenFileCount();

// The message of what `action` returns ("ok" for success), run as a user
// without special rights: on POSIX a child process that gives up root, which
// may write anything; on Windows here, whose read-only attribute holds for
// every user.
std::string MessageAsOrdinaryUser(const std::function<Status()>& action);
// The same run where a file may grow to `bytes` at most; only where
// WhyLacking(Facility::FileSizeLimit) is empty.
std::string MessageWithFileSizeLimit(std::size_t bytes, const std::function<Status()>& action);

// Holds the file `path` open as another program may, refusing to share it,
// until destroyed; only where WhyLacking(Facility::HeldWithoutSharing) is empty.
class HeldFile {
 public:
  explicit HeldFile(const std::string& path);
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;
  ~HeldFile();

 private:
  void* handle_ = nullptr;
};

// Sets the decimal separator of the user's regional settings to `separator`
// until destroyed, then gives the old one back; only where
// WhyLacking(Facility::RegionalSettings) is empty.
class RegionalDecimalSeparator {
 public:
  explicit RegionalDecimalSeparator(char separator);
  RegionalDecimalSeparator(const RegionalDecimalSeparator&) = delete;
  RegionalDecimalSeparator& operator=(const RegionalDecimalSeparator&) = delete;
  ~RegionalDecimalSeparator();

 private:
  std::wstring previous_;
  bool had_previous_ = false;
};

// A run of a program: its exit status and what it wrote.
struct ProgramRun {
  int exit_code = -1;
  std::string out, err;
};
// Runs the program `argv[0]` (its path; on Windows a bare name is looked
// for beside the test program) with the arguments that follow, standard
// input read from the file `input`, standard output and error caught through
// files in `folder`, and only LC_ALL=`locale` in its environment. With
// `closed_output`, standard output is a pipe whose reader has gone.
ProgramRun RunProgram(std::vector<std::string> argv, const std::string& input, const std::string& folder,
                      const std::string& locale, bool closed_output);

}  // namespace tervela::testing

// Skips the running GoogleTest test where the system lacks `facility`.
#define TERVELA_SKIP_WITHOUT(facility)                                                          \
  if (const std::string why = ::tervela::testing::WhyLacking(::tervela::testing::Facility::facility); \
      !why.empty())                                                                             \
  GTEST_SKIP() << why
