#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>

#include "io/replace_file.h"
#include "settings/settings_record.h"
#include "settings/settings_record_lines.h"
#include "test_support/scratch_folder.h"
#include "test_support/system.h"

namespace tervela {
namespace {

namespace fs = std::filesystem;
using io::ByteSink;
using io::ReplaceFile;
using testing::ReadBytes;
using testing::ScratchFolder;
using testing::WriteBytes;

const std::string kOldContents = "old settings\r\nkept as they were\r\n";

TSettingsTexts SampleTexts() {
  TSettingsTexts texts;
  for (int i = 0; i < kSettingsLineCount; ++i)
    texts[static_cast<std::size_t>(i)] = "value " + std::to_string(i);
  return texts;
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

struct InjectedFault {
  const char* name;
  int writes_allowed;  // two writes per line: the text, then CR LF
  int error_code;
  const char* message;
};

class FaultPartWay : public ::testing::TestWithParam<InjectedFault> {};

TEST_P(FaultPartWay, LeavesTheOldFileAndNoTemporaryFile) {
  const InjectedFault& fault = GetParam();
  ScratchFolder folder;
  WriteBytes(folder / "Tervela.ini", kOldContents);
  ASSERT_EQ(::chmod((folder / "Tervela.ini").c_str(), 0600), 0);

  Status status = ReplaceFile(folder / "Tervela.ini", [&](ByteSink& sink) {
    FailingSink failing(sink, fault.writes_allowed, Error::File(fault.error_code));
    return WriteSettingsLines(SampleTexts(), failing);
  });

  ASSERT_FALSE(status.ok());
  EXPECT_EQ(status.error().message(), fault.message);
  EXPECT_EQ(ReadBytes(folder / "Tervela.ini"), kOldContents);
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"Tervela.ini"});
}

TEST_P(FaultPartWay, CreatesNoFileWhereNoneWas) {
  const InjectedFault& fault = GetParam();
  ScratchFolder folder;
  Status status = ReplaceFile(folder / "new.set", [&](ByteSink& sink) {
    FailingSink failing(sink, fault.writes_allowed, Error::File(fault.error_code));
    return WriteSettingsLines(SampleTexts(), failing);
  });
  ASSERT_FALSE(status.ok());
  EXPECT_TRUE(folder.Entries().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Injected, FaultPartWay,
    ::testing::Values(InjectedFault{"FirstWrite", 0, 101, "Disk full"},
                      InjectedFault{"AfterFiveLines", 10, 101, "Disk full"},
                      InjectedFault{"BeforeTheLastLineEnd", 75, 101, "Disk full"},
                      InjectedFault{"OtherError", 20, 112, "I/O error 112"}),
    [](const ::testing::TestParamInfo<InjectedFault>& info) { return info.param.name; });

TEST(SettingsRecordFault, FileSizeLimitHitByARealWriteLeavesTheOldFile) {
  TERVELA_SKIP_WITHOUT(FileSizeLimit);
  ScratchFolder folder;
  const std::string old_contents(4096, 'o');
  WriteBytes(folder / "limited.set", old_contents);
  TSettingsTexts texts;
  texts.fill(std::string(2000, 'n'));  // far beyond the limit below

  const std::string message = testing::MessageWithFileSizeLimit(
      100, [&] { return WriteSettingsRecord(folder / "limited.set", texts); });

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
// On Windows the modes are the read-only attribute (a folder's does not keep
// files out).
TEST_P(WriteProtection, DecidesWhetherTheFileCanBeSaved) {
  const ProtectedCase& c = GetParam();
  ScratchFolder scratch;
  const std::string folder = scratch / "protected";
  fs::create_directory(folder);
  const std::string target = folder + "/Tervela.ini";
  WriteBytes(target, kOldContents);
  ASSERT_EQ(::chmod(target.c_str(), c.file_mode), 0);
  ASSERT_EQ(::chmod(folder.c_str(), c.folder_mode), 0);
  ASSERT_EQ(::chmod(scratch.path().c_str(), 0755), 0);

  const std::string message =
      testing::MessageAsOrdinaryUser([&] { return WriteSettingsRecord(target, SampleTexts()); });

  EXPECT_EQ(message, c.message);
  std::string saved;
  for (const std::string& text : SampleTexts()) saved += text + "\r\n";
  EXPECT_EQ(ReadBytes(target), message == "ok" ? saved : kOldContents);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1)
      << "a temporary file was left behind";
}

INSTANTIATE_TEST_SUITE_P(Modes, WriteProtection,
                         ::testing::Values(ProtectedCase{"ReadOnlyFolderWritableFile", 0555, 0666, "ok"},
                                           ProtectedCase{"WritableFolderReadOnlyFile", 0777, 0444,
                                                         "File access denied"}),
                         [](const ::testing::TestParamInfo<ProtectedCase>& info) {
                           return info.param.name;
                         });

TEST(SettingsRecordFault, FullDeviceIsDiskFullAndStaysADevice) {
  TERVELA_SKIP_WITHOUT(FullDevice);
  Status status = WriteSettingsRecord("/dev/full", SampleTexts());
  ASSERT_FALSE(status.ok());
  EXPECT_EQ(status.error().message(), "Disk full");
  EXPECT_EQ(status.error().BoxText(), "Disk full.");
  EXPECT_TRUE(fs::is_character_file("/dev/full"));
}

TEST(SettingsRecordFault, PipeIsWrittenInPlaceNotReplaced) {
  TERVELA_SKIP_WITHOUT(Fifo);
  ScratchFolder folder;
  const std::string pipe_path = folder / "pipe";
  ASSERT_TRUE(testing::MakeFifo(pipe_path));
  // Held open for reading and writing, so the writer's open does not wait.
  const int reader = testing::OpenDescriptor(pipe_path, testing::OpenMode::ReadWriteNonBlocking);
  ASSERT_GE(reader, 0);

  ASSERT_TRUE(WriteSettingsRecord(pipe_path, TSettingsTexts{}).ok());

  char buffer[200];
  const ssize_t n = ::read(reader, buffer, sizeof buffer);
  ::close(reader);
  std::string expected;
  for (int i = 0; i < kSettingsLineCount; ++i) expected += "\r\n";
  EXPECT_EQ(std::string(buffer, n > 0 ? static_cast<std::size_t>(n) : 0), expected);
  EXPECT_TRUE(fs::is_fifo(pipe_path));
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"pipe"});
}

}  // namespace
}  // namespace tervela
