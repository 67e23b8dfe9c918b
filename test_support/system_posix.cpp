#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "test_support/scratch_folder.h"
#include "test_support/system.h"

namespace tervela::testing {

namespace {

// The message of `action` ("ok" for success) run in a child process set up
// by `prepare_child`: limits and identity changes stay out of the test.
std::string MessageFromChild(const std::function<bool()>& prepare_child, const std::function<Status()>& action) {
  int pipe_ends[2];
  if (::pipe(pipe_ends) != 0) return "pipe failed";
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(pipe_ends[0]);
    std::string message = "child set-up failed";
    if (prepare_child()) {
      Status status = action();
      message = status.ok() ? "ok" : status.error().message();
    }
    const ssize_t written = ::write(pipe_ends[1], message.data(), message.size());
    ::_exit(written == static_cast<ssize_t>(message.size()) ? 0 : 1);
  }
  ::close(pipe_ends[1]);
  std::string message;
  char buffer[256];
  for (ssize_t n; (n = ::read(pipe_ends[0], buffer, sizeof buffer)) > 0;) message.append(buffer, static_cast<std::size_t>(n));
  ::close(pipe_ends[0]);
  int wait_status = 0;
  ::waitpid(child, &wait_status, 0);
  if (!WIFEXITED(wait_status) || WEXITSTATUS(wait_status) != 0) return "child failed: " + message;
  return message;
}

}  // namespace

std::string WhyLacking(Facility facility) {
  if (facility == Facility::HeldWithoutSharing) return "POSIX files are never held open without sharing";
  if (facility == Facility::RegionalSettings) return "POSIX takes the separator from the locale LC_ALL names";
  return {};
}

RegionalDecimalSeparator::RegionalDecimalSeparator(char) {}
RegionalDecimalSeparator::~RegionalDecimalSeparator() = default;

int WindowOpeningFactor() { return 1; }

void SetEnvironment(const char* name, const char* value) {
  if (value != nullptr) {
    ::setenv(name, value, 1);
  } else {
    ::unsetenv(name);
  }
}

bool MakeFifo(const std::string& path) { return ::mkfifo(path.c_str(), 0600) == 0; }

int OpenDescriptor(const std::string& path, OpenMode mode) {
  switch (mode) {
    case OpenMode::Read: return ::open(path.c_str(), O_RDONLY);
    case OpenMode::Write: return ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    case OpenMode::Append: return ::open(path.c_str(), O_WRONLY | O_APPEND);
    case OpenMode::ReadWriteNonBlocking: return ::open(path.c_str(), O_RDWR | O_NONBLOCK);
    case OpenMode::WriteNonBlocking: return ::open(path.c_str(), O_WRONLY | O_NONBLOCK);
  }
  return -1;
}

int DescriptorHolding(const std::string& bytes) {
  const int fd = ::memfd_create("test-file", MFD_CLOEXEC);
  if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) return -1;
  ::lseek(fd, 0, SEEK_SET);
  return fd;
}

bool MakePipe(int ends[2]) { return ::pipe(ends) == 0; }

// Its one descriptor, opened through /proc for reading and writing, is its
// own writer.
int WaitingPipe() {
  int ends[2];
  if (::pipe(ends) != 0) return -1;
  const int both = ::open(("/proc/self/fd/" + std::to_string(ends[0])).c_str(), O_RDWR);
  ::close(ends[0]);
  ::close(ends[1]);
  return both;
}

bool DescriptorOpen(int fd) { return ::fcntl(fd, F_GETFD) != -1; }

int UnreadableDescriptor() { return ::open("/", O_RDONLY | O_DIRECTORY); }

int OpenFileCount() {
  using std::filesystem::directory_iterator;
  return static_cast<int>(std::distance(directory_iterator("/proc/self/fd"), directory_iterator()));
}

std::string MessageAsOrdinaryUser(const std::function<Status()>& action) {
  constexpr uid_t kNobody = 65534;
  return MessageFromChild([] { return ::geteuid() != 0 || (::setgid(kNobody) == 0 && ::setuid(kNobody) == 0); },
                          action);
}

std::string MessageWithFileSizeLimit(std::size_t bytes, const std::function<Status()>& action) {
  return MessageFromChild(
      [bytes] {
        const rlimit limit{bytes, bytes};
        return ::signal(SIGXFSZ, SIG_IGN) != SIG_ERR && ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
      },
      action);
}

HeldFile::HeldFile(const std::string&) {}
HeldFile::~HeldFile() = default;

ProgramRun RunProgram(std::vector<std::string> argv, const std::string& input, const std::string& folder,
                      const std::string& locale, bool closed_output) {
  std::vector<char*> pointers;
  for (std::string& argument : argv) pointers.push_back(argument.data());
  pointers.push_back(nullptr);
  std::string lc_all = "LC_ALL=" + locale;
  char* envp[] = {lc_all.data(), nullptr};
  const std::string out = folder + "/stdout", err = folder + "/stderr";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, input.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  int pipe_ends[2] = {-1, -1};
  if (closed_output && ::pipe(pipe_ends) == 0) {
    ::close(pipe_ends[0]);
    posix_spawn_file_actions_adddup2(&actions, pipe_ends[1], 1);
  }
  posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_t pid = 0;
  ProgramRun run;
  if (posix_spawn(&pid, pointers[0], &actions, nullptr, pointers.data(), envp) == 0) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  posix_spawn_file_actions_destroy(&actions);
  if (pipe_ends[1] >= 0) ::close(pipe_ends[1]);
  run.out = ReadBytes(out);
  run.err = ReadBytes(err);
  return run;
}

}  // namespace tervela::testing
