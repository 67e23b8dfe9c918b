// The save by rename and each of its fallbacks (replace_file.h): what a save
// leaves on disk, what a failure leaves, and every system call of a save made
// to fail in turn.

#include "io/replace_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "io/system_calls.h"
#include "test_support/scratch_folder.h"
#include "test_support/system.h"

namespace tervela::io {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::ScratchFolder;
using testing::WriteBytes;

constexpr int kLineCount = 38;
const std::string kOld = "old contents\r\nkept as they were\r\n";

// What every save here writes: kLineCount numbered lines, each in two writes
// (the text, then CR LF).
Status WriteLines(ByteSink& sink) {
  for (int i = 0; i < kLineCount; ++i) {
    if (Status text = sink.Write("line " + std::to_string(i)); !text) return text;
    if (Status end = sink.Write("\r\n"); !end) return end;
  }
  return {};
}

std::string Lines() {
  std::string bytes;
  for (int i = 0; i < kLineCount; ++i) bytes += "line " + std::to_string(i) + "\r\n";
  return bytes;
}

Status Save(const std::string& path) { return ReplaceFile(path, WriteLines); }

std::string MessageOf(const Status& status) {
  return status.ok() ? "ok" : status.error().message();
}

// A save of `target` into a folder that `prepare` sets up, run from inside
// the folder, so that every name but an absolute one counts from there.
struct SaveCase {
  const char* name;
  void (*prepare)(const ScratchFolder& folder);
  const char* target;
  const char* message;  // "ok" for a save that succeeds
  // Files afterwards; "new" stands for the saved lines.
  std::map<std::string, std::string> contents;
  // What the names must still be: a link stays a link, a FIFO a FIFO.
  std::map<std::string, fs::file_type> kinds;
  std::vector<std::string> entries;  // the folder's, so no temporary file is left
};

class SaveScenes : public ::testing::TestWithParam<SaveCase> {};

TEST_P(SaveScenes, LeaveTheseFiles) {
  const SaveCase& c = GetParam();
  ScratchFolder folder;
  c.prepare(folder);
  if (IsSkipped()) return;  // the case needs what this system lacks
  const fs::path before = fs::current_path();
  fs::current_path(folder.path());
  const Status status = Save(c.target);
  fs::current_path(before);

  EXPECT_EQ(MessageOf(status), c.message);
  for (const auto& [name, contents] : c.contents) {
    EXPECT_EQ(ReadBytes(folder / name), contents == "new" ? Lines() : contents) << name;
  }
  for (const auto& [name, kind] : c.kinds) {
    const std::string path = name.starts_with("/") ? name : folder / name;
    EXPECT_EQ(fs::symlink_status(path).type(), kind) << name;
  }
  EXPECT_EQ(folder.Entries(), c.entries);
}

INSTANTIATE_TEST_SUITE_P(
    ReplaceFile, SaveScenes,
    ::testing::Values(
        SaveCase{"NewFile", [](const ScratchFolder&) {}, "new.set", "ok", {{"new.set", "new"}}, {},
                 {"new.set"}},
        SaveCase{"ReplacedByRenameWithoutAddingAnExtension",
                 [](const ScratchFolder& f) { WriteBytes(f / "plain", std::string(5000, 'z')); },
                 "plain", "ok", {{"plain", "new"}}, {}, {"plain"}},
        SaveCase{"MissingFolderIsInvalidFilename", [](const ScratchFolder&) {},
                 "no-such-folder/x.set", "Invalid filename", {}, {}, {}},
        SaveCase{"HardLinkedFileWrittenInPlace",
                 [](const ScratchFolder& f) {
                   WriteBytes(f / "a.set", kOld);
                   fs::create_hard_link(f / "a.set", f / "b.set");
                 },
                 "a.set", "ok", {{"a.set", "new"}, {"b.set", "new"}}, {}, {"a.set", "b.set"}},
        SaveCase{"FolderIsAccessDenied",
                 [](const ScratchFolder& f) {
                   fs::create_directory(f / "sub");
                   WriteBytes(f / "sub/inside", "kept");
                 },
                 "sub", "File access denied", {{"sub/inside", "kept"}},
                 {{"sub", fs::file_type::directory}}, {"sub"}},
        SaveCase{"NameEndingInASlashIsNoFile",
                 [](const ScratchFolder& f) { fs::create_directory(f / "sub"); }, "sub/",
                 "File access denied", {}, {{"sub", fs::file_type::directory}}, {"sub"}},
        SaveCase{"LinksStayAndTheFileTheyNameIsReplaced",
                 [](const ScratchFolder& f) {
                   TERVELA_SKIP_WITHOUT(SymbolicLinks);
                   fs::create_directory(f / "real");
                   WriteBytes(f / "real/settings.set", kOld);
                   // One relative to its folder, one absolute.
                   fs::create_symlink("real/settings.set", f / "link.set");
                   fs::create_symlink(f / "link.set", f / "link-to-link.set");
                 },
                 "link-to-link.set", "ok", {{"real/settings.set", "new"}},
                 {{"link.set", fs::file_type::symlink},
                  {"link-to-link.set", fs::file_type::symlink}},
                 {"link-to-link.set", "link.set", "real"}},
        SaveCase{"DanglingLinkCreatesTheFileItNames",
                 [](const ScratchFolder& f) {
                   TERVELA_SKIP_WITHOUT(SymbolicLinks);
                   fs::create_symlink("target.set", f / "link.set");
                 },
                 "link.set", "ok", {{"target.set", "new"}}, {{"link.set", fs::file_type::symlink}},
                 {"link.set", "target.set"}},
        SaveCase{"LinkLoopIsInvalidFilename",
                 [](const ScratchFolder& f) {
                   TERVELA_SKIP_WITHOUT(SymbolicLinks);
                   fs::create_symlink("b", f / "a");
                   fs::create_symlink("a", f / "b");
                 },
                 "a", "Invalid filename", {}, {}, {"a", "b"}},
        SaveCase{"FifoThatNoOneReadsFailsAtOnce",
                 [](const ScratchFolder& f) {
                   TERVELA_SKIP_WITHOUT(Fifo);
                   ASSERT_TRUE(testing::MakeFifo(f / "pipe"));
                 },
                 "pipe", "I/O error 6", {}, {{"pipe", fs::file_type::fifo}}, {"pipe"}},
        SaveCase{"FullDeviceIsDiskFullAndStaysADevice",
                 [](const ScratchFolder&) { TERVELA_SKIP_WITHOUT(FullDevice); }, "/dev/full",
                 "Disk full", {}, {{"/dev/full", fs::file_type::character}}, {}}),
    [](const ::testing::TestParamInfo<SaveCase>& info) { return info.param.name; });

mode_t PermissionsOf(const std::string& path) {
  struct stat info {};
  EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
  return info.st_mode & 07777;
}

TEST(ReplaceFile, NewFileGetsUmaskPermissionsReplacedFileKeepsItsOwn) {
  TERVELA_SKIP_WITHOUT(PosixPermissions);
  ScratchFolder folder;
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ASSERT_TRUE(Save(folder / "new.set").ok());
  EXPECT_EQ(PermissionsOf(folder / "new.set"), 0666 & ~mask);

  WriteBytes(folder / "old.set", kOld);
  ASSERT_EQ(::chmod((folder / "old.set").c_str(), 0640), 0);
  ASSERT_TRUE(Save(folder / "old.set").ok());
  EXPECT_EQ(PermissionsOf(folder / "old.set"), 0640u);
}

TEST(ReplaceFile, PipeIsWrittenInPlaceNotReplaced) {
  TERVELA_SKIP_WITHOUT(Fifo);
  ScratchFolder folder;
  const std::string pipe_path = folder / "pipe";
  ASSERT_TRUE(testing::MakeFifo(pipe_path));
  // Held open for reading and writing, so the writer's open does not wait.
  const int reader = testing::OpenDescriptor(pipe_path, testing::OpenMode::ReadWriteNonBlocking);
  ASSERT_GE(reader, 0);

  ASSERT_TRUE(Save(pipe_path).ok());

  std::string read(Lines().size() + 1, '\0');
  const Result<std::size_t> n = Read(reader, read.data(), read.size());
  (void)Close(reader);
  read.resize(n.ok() ? n.value() : 0);
  EXPECT_EQ(read, Lines());
  EXPECT_TRUE(fs::is_fifo(pipe_path));
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"pipe"});
}

// Passes writes through until `writes_allowed` have been made, then fails
// every write with `error`.
class FailingSink final : public ByteSink {
 public:
  FailingSink(ByteSink& inner, int writes_allowed, Error error)
      : inner_(inner), writes_left_(writes_allowed), error_(std::move(error)) {}

  Status Write(std::string_view bytes) override {
    if (writes_left_ == 0) return error_;
    --writes_left_;
    return inner_.Write(bytes);
  }

 private:
  ByteSink& inner_;
  int writes_left_;
  Error error_;
};

struct ContentsFault {
  const char* name;
  int writes_allowed;  // two writes per line: the text, then CR LF
  int error_code;
  const char* message;
};

class ContentsFailPartWay : public ::testing::TestWithParam<ContentsFault> {
 protected:
  Status SaveFailing(const std::string& path) {
    const ContentsFault& fault = GetParam();
    return ReplaceFile(path, [&](ByteSink& sink) {
      FailingSink failing(sink, fault.writes_allowed, Error::File(fault.error_code));
      return WriteLines(failing);
    });
  }
};

TEST_P(ContentsFailPartWay, LeavesTheOldFileAndNoTemporaryFile) {
  ScratchFolder folder;
  WriteBytes(folder / "Tervela.ini", kOld);
  ASSERT_EQ(::chmod((folder / "Tervela.ini").c_str(), 0600), 0);
  EXPECT_EQ(MessageOf(SaveFailing(folder / "Tervela.ini")), GetParam().message);
  EXPECT_EQ(ReadBytes(folder / "Tervela.ini"), kOld);
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"Tervela.ini"});
}

TEST_P(ContentsFailPartWay, CreatesNoFileWhereNoneWas) {
  ScratchFolder folder;
  EXPECT_FALSE(SaveFailing(folder / "new.set").ok());
  EXPECT_TRUE(folder.Entries().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Injected, ContentsFailPartWay,
    ::testing::Values(ContentsFault{"FirstWrite", 0, 101, "Disk full"},
                      ContentsFault{"AfterFiveLines", 10, 101, "Disk full"},
                      ContentsFault{"BeforeTheLastLineEnd", 75, 101, "Disk full"},
                      ContentsFault{"OtherError", 20, 112, "I/O error 112"}),
    [](const ::testing::TestParamInfo<ContentsFault>& info) { return info.param.name; });

TEST(ReplaceFile, FileSizeLimitHitByARealWriteLeavesTheOldFile) {
  TERVELA_SKIP_WITHOUT(FileSizeLimit);
  ScratchFolder folder;
  const std::string old_contents(4096, 'o');
  WriteBytes(folder / "limited.set", old_contents);
  const std::string message =
      testing::MessageWithFileSizeLimit(100, [&] { return Save(folder / "limited.set"); });

  EXPECT_EQ(message, "I/O error " + std::to_string(EFBIG));
  EXPECT_EQ(ReadBytes(folder / "limited.set"), old_contents);
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"limited.set"});
}

struct ProtectedCase {
  const char* name;
  mode_t folder_mode;
  mode_t file_mode;
  const char* message;  // "ok" for a save that succeeds
};

class WriteProtection : public ::testing::TestWithParam<ProtectedCase> {};

// Root may write anything, so the save runs as an unprivileged user. A
// writable file in a folder that takes no temporary file is written in place.
// On Windows the modes set the read-only attribute, which a folder ignores.
TEST_P(WriteProtection, DecidesWhetherTheFileCanBeSaved) {
  const ProtectedCase& c = GetParam();
  ScratchFolder scratch;
  const std::string folder = scratch / "protected";
  fs::create_directory(folder);
  const std::string target = folder + "/Tervela.ini";
  WriteBytes(target, kOld);
  ASSERT_EQ(::chmod(target.c_str(), c.file_mode), 0);
  ASSERT_EQ(::chmod(folder.c_str(), c.folder_mode), 0);
  ASSERT_EQ(::chmod(scratch.path().c_str(), 0755), 0);

  const std::string message = testing::MessageAsOrdinaryUser([&] { return Save(target); });

  EXPECT_EQ(message, c.message);
  EXPECT_EQ(ReadBytes(target), message == "ok" ? Lines() : kOld);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1)
      << "a temporary file was left behind";
}

INSTANTIATE_TEST_SUITE_P(
    Modes, WriteProtection,
    ::testing::Values(ProtectedCase{"ReadOnlyFolderWritableFile", 0555, 0666, "ok"},
                      ProtectedCase{"WritableFolderReadOnlyFile", 0777, 0444,
                                    "File access denied"}),
    [](const ::testing::TestParamInfo<ProtectedCase>& info) { return info.param.name; });

// Every write, close and rename of a save (replacing by rename, or in place
// through a hard link) made to fail in turn, from the first call to the last:
// each failure is reported with its mapped message, every file is closed, a
// replaced file stays as it was, a file written in place holds a prefix of the
// good contents, and no temporary file is left. (Only a replacing save renames.)

TEST(FaultAtEveryCall, IsReportedClosesEveryFileAndHarmsNone) {
  const struct {
    FaultPoint point;
    int errno_value;
    const char* message;
  } faults[] = {{FaultPoint::Write, ENOSPC, "Disk full"},
                {FaultPoint::Close, EIO, "I/O error 5"},
                {FaultPoint::Rename, EXDEV, "I/O error 18"}};
  for (const bool in_place : {false, true}) {
    for (const auto& fault : faults) {
      for (int k = 1;; ++k) {
        SCOPED_TRACE(::testing::Message() << (in_place ? "in place" : "by rename") << ", "
                                          << fault.message << " at call " << k);
        ScratchFolder folder;
        WriteBytes(folder / "site.set", kOld);
        if (in_place) fs::create_hard_link(folder / "site.set", folder / "link.set");
        const int descriptors = testing::OpenFileCount();
        InjectFault(fault.point, k, fault.errno_value);
        const Status status = Save(folder / "site.set");
        if (FaultPending(fault.point)) {  // the save makes fewer than k such calls
          InjectFault(fault.point, 0, 0);
          EXPECT_TRUE(status.ok());
          EXPECT_TRUE(k > 1 || (fault.point == FaultPoint::Rename && in_place)) << "nothing failed";
          break;
        }
        EXPECT_EQ(MessageOf(status), fault.message);
        EXPECT_EQ(testing::OpenFileCount(), descriptors);
        if (in_place) {
          EXPECT_TRUE(Lines().starts_with(ReadBytes(folder / "link.set")));
        } else {
          EXPECT_EQ(ReadBytes(folder / "site.set"), kOld);
        }
        EXPECT_EQ(folder.Entries().size(), in_place ? 2u : 1u) << "a temporary file was left";
      }
    }
  }
}

}  // namespace
}  // namespace tervela::io
