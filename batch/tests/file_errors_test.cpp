// File errors: what each failure reports and what it leaves on disk.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <map>

#include "batch/point_file_run.h"
#include "batch/tests/run_helpers.h"
#include "io/system_calls.h"
#include "test_support/case_name.h"

namespace tervela {
namespace {

using testing::BoxTextOf;
using testing::Exists;
using testing::ReadBytes;
using testing::WriteBytes;

const std::string kInput = "45.22568 13.58477 a\n";

Status Convert(const std::string& input, const std::string& output, bool scripts = false) {
  TEngineRecords engine;
  const TFileConversion request{TConversionDirection::WgsToA, TShiftMethod::ThreeParameter, scripts,
                                input, output};
  return ConvertPointFile(request, testing::WorkedExampleSettings(), '.', engine);
}

class FileErrors : public ::testing::Test {
 protected:
  void SetUp() override { WriteBytes(in_, kInput); }
  testing::ScratchFolder folder_;
  std::string in_ = folder_ / "in.txt";
  std::string out_ = folder_ / "out.txt";
};

TEST_F(FileErrors, MissingInputCreatesNothing) {
  EXPECT_EQ(BoxTextOf(Convert(folder_ / "none.txt", out_, true)), "File not found.");
  EXPECT_FALSE(Exists(out_));
  EXPECT_FALSE(Exists(out_ + " text.scr"));
}

TEST_F(FileErrors, EmptyNamesAreNotFound) {
  EXPECT_EQ(BoxTextOf(Convert("", out_)), "File not found.");
  EXPECT_FALSE(Exists(out_));
  EXPECT_EQ(BoxTextOf(Convert(in_, "")), "File not found.");
}

TEST_F(FileErrors, DirectoriesAreRefused) {
  EXPECT_EQ(BoxTextOf(Convert(folder_.path(), out_)), "File access denied.");
  EXPECT_FALSE(Exists(out_));
  EXPECT_EQ(BoxTextOf(Convert(in_, folder_.path())), "File access denied.");
  // A missing folder is a path not found; a missing file in a folder is not found.
  EXPECT_EQ(BoxTextOf(Convert(in_, folder_ / "no-folder/out.txt")), "Invalid filename.");
  EXPECT_EQ(BoxTextOf(Convert(folder_ / "no-folder/in.txt", out_)), "Invalid filename.");
  EXPECT_EQ(BoxTextOf(Convert(in_, in_ + "/out.txt")), "Invalid filename.");
}

TEST_F(FileErrors, OutputNamingTheInputLeavesItIntact) {
  ASSERT_EQ(::symlink(in_.c_str(), (folder_ / "symlink.txt").c_str()), 0);
  ASSERT_EQ(::link(in_.c_str(), (folder_ / "hardlink.txt").c_str()), 0);
  for (const std::string& output : {in_, folder_ / "symlink.txt", folder_ / "hardlink.txt",
                                    folder_.path() + "/./in.txt"}) {
    EXPECT_EQ(BoxTextOf(Convert(in_, output, true)), "I/O error 32.") << output;
    EXPECT_FALSE(Exists(output + " text.scr")) << output;
  }
  EXPECT_EQ(ReadBytes(in_), kInput);
}

TEST_F(FileErrors, ScriptNamingTheInputCreatesNothing) {
  const std::string input = out_ + " point.scr";
  WriteBytes(input, kInput);
  EXPECT_EQ(BoxTextOf(Convert(input, out_, true)), "I/O error 32.");
  EXPECT_FALSE(Exists(out_));
  EXPECT_EQ(ReadBytes(input), kInput);
  // Without scripts the same names do not meet.
  EXPECT_EQ(BoxTextOf(Convert(input, out_, false)), "");
}

TEST_F(FileErrors, ScriptLinkedToTheOutputIsRefused) {
  WriteBytes(out_, "old");
  ASSERT_EQ(::symlink(out_.c_str(), (out_ + " text.scr").c_str()), 0);
  EXPECT_EQ(BoxTextOf(Convert(in_, out_, true)), "I/O error 32.");
  EXPECT_EQ(ReadBytes(out_), "old");
}

TEST_F(FileErrors, FullDiskIsReported) {
  EXPECT_EQ(BoxTextOf(Convert(in_, "/dev/full")), "Disk full.");
  // Lines buffered before a later error failed first, so theirs is the report.
  WriteBytes(in_, kInput + "bad\n");
  EXPECT_EQ(BoxTextOf(Convert(in_, "/dev/full")), "Disk full.");
}

// Root ignores permissions, so a read-only folder is tried from a child
// process that gives up root first.
TEST_F(FileErrors, ReadOnlyOutputFolderIsAccessDenied) {
  const std::string folder = folder_ / "read-only";
  ASSERT_EQ(::mkdir(folder.c_str(), 0555), 0);
  ::chmod(folder_.path().c_str(), 0755);
  ::chmod(in_.c_str(), 0644);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(2);
    const Status status = Convert(in_, folder + "/out.txt");
    ::_exit(BoxTextOf(status) == "File access denied." ? 0 : 1);
  }
  int wait_status = 0;
  ASSERT_EQ(::waitpid(child, &wait_status, 0), child);
  ASSERT_TRUE(WIFEXITED(wait_status));
  EXPECT_EQ(WEXITSTATUS(wait_status), 0);
  EXPECT_FALSE(Exists(folder + "/out.txt"));
}

// Records the last progress report and asks to stop once `cancel_at` points
// are written.
struct TestObserver final : RunObserver {
  std::uint64_t bytes = 0, points = 0, cancel_at = UINT64_MAX;
  void Progress(std::uint64_t bytes_read, std::uint64_t points_written) override {
    bytes = bytes_read;
    points = points_written;
  }
  bool CancelRequested() override { return points >= cancel_at; }
};

TEST_F(FileErrors, DescriptorsAndProgress) {
  TEngineRecords engine;
  const TFileConversion request{TConversionDirection::WgsToA, TShiftMethod::ThreeParameter, false, "", ""};
  TestObserver observer;
  TRunEndpoints endpoints;
  endpoints.input_fd = ::open(in_.c_str(), O_RDONLY);
  endpoints.output_fd = ::open(out_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  endpoints.observer = &observer;
  EXPECT_TRUE(ConvertPointFile(request, testing::WorkedExampleSettings(), '.', engine, endpoints).ok());
  EXPECT_EQ(ReadBytes(out_), "5010498.551 388863.697 a\r\n");
  EXPECT_EQ(observer.bytes, kInput.size());

  // Output descriptor open on the input itself (an append redirection).
  endpoints.input_fd = ::open(in_.c_str(), O_RDONLY);
  endpoints.output_fd = ::open(in_.c_str(), O_WRONLY | O_APPEND);
  endpoints.observer = nullptr;
  EXPECT_EQ(BoxTextOf(ConvertPointFile(request, testing::WorkedExampleSettings(), '.', engine, endpoints)),
            "I/O error 32.");
  EXPECT_EQ(ReadBytes(in_), kInput);
}

// A cancelled run ends at a record boundary, in both the one-at-a-time and
// the batched directions, keeping whole lines and the input untouched.
TEST_F(FileErrors, CancelKeepsTheWholeLinesWritten) {
  for (const TConversionDirection direction : {TConversionDirection::WgsToB, TConversionDirection::BToWgs}) {
    std::string input;
    for (int i = 0; i < 10000; ++i) {
      input += FromWgs(direction) ? "45.22568 13.58477 p\r\n" : "5010498.551 388863.697 p\r\n";
    }
    WriteBytes(in_, input);
    TEngineRecords engine;
    const TFileConversion request{direction, TShiftMethod::ThreeParameter, true, in_, out_};
    TestObserver observer;
    observer.cancel_at = 1;
    TRunEndpoints endpoints;
    endpoints.observer = &observer;
    ASSERT_TRUE(ConvertPointFile(request, testing::WorkedExampleSettings(), '.', engine, endpoints).ok());
    const std::string output = ReadBytes(out_);
    EXPECT_GT(observer.points, 0u);
    EXPECT_LT(observer.points, 10000u);
    EXPECT_EQ(static_cast<std::uint64_t>(std::count(output.begin(), output.end(), '\n')), observer.points);
    EXPECT_EQ(output.substr(output.size() - 2), "\r\n");
    EXPECT_EQ(ReadBytes(in_), input);
  }
}

// Every write, close and rename of a point-file run and of a settings save made
// to fail in turn, from the first call to the last: each failure is reported
// with its mapped message, every file is closed, the files read stay as they
// were, each file written holds a prefix of its good contents, and no
// temporary file is left. (A point-file run renames nothing.)
enum class FaultedJob { PointFileRun, SettingsSave, SettingsSaveThroughHardLink };

struct FaultRow {
  const char* name;
  FaultedJob job;
  io::FaultPoint point;
  int errno_value;
  const char* message;
};

// The files a job finds in place and must leave as they were, and those it writes.
struct JobFiles {
  std::vector<std::string> kept, written;
};

JobFiles PrepareJob(FaultedJob job, const testing::ScratchFolder& folder) {
  switch (job) {
    case FaultedJob::PointFileRun:
      WriteBytes(folder / "in.txt", "45.22568 13.58477 a\n45.3 13.6 b\n");
      return {{"in.txt"}, {"out.txt", "out.txt text.scr", "out.txt point.scr", "out.txt prognumb.scr"}};
    case FaultedJob::SettingsSave:
      WriteBytes(folder / "site.set", "old\r\n");
      return {{"site.set"}, {}};
    case FaultedJob::SettingsSaveThroughHardLink:
      WriteBytes(folder / "site.set", "old\r\n");
      std::filesystem::create_hard_link(folder / "site.set", folder / "link.set");
      return {{}, {"site.set", "link.set"}};
  }
  return {};
}

Status RunJob(FaultedJob job, const testing::ScratchFolder& folder) {
  if (job != FaultedJob::PointFileRun) {
    return WriteSettingsRecord(folder / "site.set", testing::WorkedExampleSettings());
  }
  TEngineRecords engine;
  const TFileConversion request{TConversionDirection::WgsToA, TShiftMethod::ThreeParameter, true,
                                folder / "in.txt", folder / "out.txt"};
  return ConvertPointFile(request, testing::WorkedExampleSettings(), '.', engine);
}

int OpenDescriptors() {
  return static_cast<int>(std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                                        std::filesystem::directory_iterator()));
}

class FaultAtEveryCall : public ::testing::TestWithParam<FaultRow> {};

TEST_P(FaultAtEveryCall, IsReportedClosesEveryFileAndHarmsNone) {
  const FaultRow& row = GetParam();
  testing::ScratchFolder good_folder;
  const JobFiles files = PrepareJob(row.job, good_folder);
  std::map<std::string, std::string> before, good;
  for (const std::string& name : files.kept) before[name] = ReadBytes(good_folder / name);
  ASSERT_TRUE(RunJob(row.job, good_folder).ok());
  for (const std::string& name : files.written) good[name] = ReadBytes(good_folder / name);

  for (int k = 1;; ++k) {
    testing::ScratchFolder folder;
    PrepareJob(row.job, folder);
    const int descriptors = OpenDescriptors();
    io::InjectFault(row.point, k, row.errno_value);
    const Status status = RunJob(row.job, folder);
    if (io::FaultPending(row.point)) {  // the job makes fewer than k such calls
      io::InjectFault(row.point, 0, 0);
      EXPECT_TRUE(status.ok());
      EXPECT_GT(k, 1) << "no call to fail";
      break;
    }
    EXPECT_EQ(BoxTextOf(status), row.message) << "call " << k;
    EXPECT_EQ(OpenDescriptors(), descriptors) << "call " << k;
    for (const std::string& name : files.kept) EXPECT_EQ(ReadBytes(folder / name), before[name]) << k;
    for (const std::string& name : files.written) {
      const std::string bytes = ReadBytes(folder / name);
      if (bytes != "<missing>") {
        EXPECT_EQ(good[name].substr(0, bytes.size()), bytes) << name << " " << k;
      }
    }
    for (const std::string& entry : folder.Entries()) {
      EXPECT_TRUE(std::count(files.kept.begin(), files.kept.end(), entry) +
                  std::count(files.written.begin(), files.written.end(), entry))
          << "left behind: " << entry;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, FaultAtEveryCall,
    ::testing::Values(
        FaultRow{"RunWrite", FaultedJob::PointFileRun, io::FaultPoint::Write, ENOSPC, "Disk full."},
        FaultRow{"RunClose", FaultedJob::PointFileRun, io::FaultPoint::Close, EIO, "I/O error 5."},
        FaultRow{"SaveWrite", FaultedJob::SettingsSave, io::FaultPoint::Write, ENOSPC, "Disk full."},
        FaultRow{"SaveClose", FaultedJob::SettingsSave, io::FaultPoint::Close, EIO, "I/O error 5."},
        FaultRow{"SaveRename", FaultedJob::SettingsSave, io::FaultPoint::Rename, EXDEV, "I/O error 18."},
        FaultRow{"InPlaceWrite", FaultedJob::SettingsSaveThroughHardLink, io::FaultPoint::Write, EFBIG,
                 "I/O error 27."},
        FaultRow{"InPlaceClose", FaultedJob::SettingsSaveThroughHardLink, io::FaultPoint::Close, EIO,
                 "I/O error 5."}),
    [](const auto& info) { return testing::CaseName(info.index, info.param.name); });

}  // namespace
}  // namespace tervela
