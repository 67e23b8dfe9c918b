#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "settings/settings_record.h"
#include "test_support/scratch_folder.h"

namespace tervela {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::ScratchFolder;
using testing::WriteBytes;

// "L1" to "L38", the line number of each text.
std::string NumberedText(int line) {
  std::string text = "L";
  text += std::to_string(line);
  return text;
}

TSettingsTexts NumberedTexts() {
  TSettingsTexts texts;
  for (int i = 0; i < kSettingsLineCount; ++i)
    texts[static_cast<std::size_t>(i)] = NumberedText(i + 1);
  return texts;
}

std::string NumberedRecordBytes() {
  std::string bytes;
  for (int line = 1; line <= kSettingsLineCount; ++line) bytes += NumberedText(line) + "\r\n";
  return bytes;
}

mode_t PermissionsOf(const std::string& path) {
  struct stat info {};
  EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
  return info.st_mode & 07777;
}

TEST(SettingsRecordWrite, EmptySetIs38CrLfLines) {
  ScratchFolder folder;
  ASSERT_TRUE(WriteSettingsRecord(folder / "empty.set", TSettingsTexts{}).ok());
  std::string expected;
  for (int i = 0; i < kSettingsLineCount; ++i) expected += "\r\n";
  EXPECT_EQ(expected.size(), 76u);
  EXPECT_EQ(ReadBytes(folder / "empty.set"), expected);
}

TEST(SettingsRecordWrite, LinesFollowTheEditOrder) {
  ScratchFolder folder;
  ASSERT_TRUE(WriteSettingsRecord(folder / "order.set", NumberedTexts()).ok());
  EXPECT_EQ(ReadBytes(folder / "order.set"), NumberedRecordBytes());

  // Line 1 is Dx of A, line 19 Dx of B, lines 37 and 38 the names.
  const TSettingsTexts texts = NumberedTexts();
  EXPECT_EQ(ParameterTexts(texts, TLocalSystem::A).front(), "L1");
  EXPECT_EQ(ParameterTexts(texts, TLocalSystem::A).back(), "L18");
  EXPECT_EQ(ParameterTexts(texts, TLocalSystem::B).front(), "L19");
  EXPECT_EQ(ParameterTexts(texts, TLocalSystem::B).back(), "L36");
}

TEST(SettingsRecordWrite, EveryTextSurvivesARoundTrip) {
  const std::string texts_to_keep[] = {"",
                                       " 682 ",
                                       "5,5",
                                       "-203",
                                       "not a number",
                                       "1e-3",
                                       "\t480\t",
                                       "a,b,,c",
                                       "GK zone 5",
                                       "\xC4\x8C\x61",
                                       "\xE9\xE8\xFF",
                                       "'quoted'",
                                       "\"double\"",
                                       "=x;y",
                                       std::string(300, '9'),
                                       "   ",
                                       "0.10037483",
                                       "\x80\x81"};
  TSettingsTexts texts;
  for (int i = 0; i < kSettingsLineCount; ++i) {
    texts[static_cast<std::size_t>(i)] = texts_to_keep[i % std::size(texts_to_keep)];
  }
  ScratchFolder folder;
  ASSERT_TRUE(WriteSettingsRecord(folder / "round.set", texts).ok());
  TSettingsTexts loaded;
  loaded.fill("stale");
  ASSERT_TRUE(ReadSettingsRecord(folder / "round.set", loaded).ok());
  EXPECT_EQ(loaded, texts);
}

TEST(SettingsRecordWrite, MegabyteLineRoundTrips) {
  TSettingsTexts texts;
  texts[5] = std::string(1 << 20, 'q');
  texts[37] = "after the long line";
  ScratchFolder folder;
  ASSERT_TRUE(WriteSettingsRecord(folder / "long.set", texts).ok());
  TSettingsTexts loaded;
  ASSERT_TRUE(ReadSettingsRecord(folder / "long.set", loaded).ok());
  EXPECT_EQ(loaded, texts);
}

TEST(SettingsRecordWrite, ReplacesAnExistingFileWithoutAddingAnExtension) {
  ScratchFolder folder;
  WriteBytes(folder / "plain", std::string(5000, 'z'));
  ASSERT_TRUE(WriteSettingsRecord(folder / "plain", NumberedTexts()).ok());
  EXPECT_EQ(ReadBytes(folder / "plain"), NumberedRecordBytes());
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"plain"});
}

TEST(SettingsRecordWrite, RelativeNameIsResolvedAgainstTheWorkingFolder) {
  ScratchFolder folder;
  const fs::path before = fs::current_path();
  fs::current_path(folder.path());
  Status status = WriteSettingsRecord("Tervela.ini", NumberedTexts());
  fs::current_path(before);
  ASSERT_TRUE(status.ok()) << status.error().message();
  EXPECT_EQ(ReadBytes(folder / "Tervela.ini"), NumberedRecordBytes());
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"Tervela.ini"});
}

TEST(SettingsRecordWrite, MissingFolderIsInvalidFilename) {
  ScratchFolder folder;
  Status status = WriteSettingsRecord(folder / "no-such-folder/x.set", NumberedTexts());
  ASSERT_FALSE(status.ok());
  EXPECT_EQ(status.error().message(), "Invalid filename");
  EXPECT_TRUE(folder.Entries().empty());
}

TEST(SettingsRecordWrite, HardLinkedFileIsWrittenInPlaceKeepingTheLink) {
  ScratchFolder folder;
  WriteBytes(folder / "a.set", "old");
  fs::create_hard_link(folder / "a.set", folder / "b.set");
  ASSERT_TRUE(WriteSettingsRecord(folder / "a.set", NumberedTexts()).ok());
  EXPECT_EQ(ReadBytes(folder / "b.set"), NumberedRecordBytes());
  EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"a.set", "b.set"}));
}

TEST(SettingsRecordWrite, FolderAsTargetIsAccessDeniedAndStays) {
  ScratchFolder folder;
  fs::create_directory(folder / "sub");
  WriteBytes(folder / "sub/inside", "kept");
  Status status = WriteSettingsRecord(folder / "sub", NumberedTexts());
  ASSERT_FALSE(status.ok());
  EXPECT_EQ(status.error().message(), "File access denied");
  EXPECT_TRUE(fs::is_directory(folder / "sub"));
  EXPECT_EQ(ReadBytes(folder / "sub/inside"), "kept");
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"sub"});
}

TEST(SettingsRecordWrite, NewFileGetsUmaskPermissionsReplacedFileKeepsItsOwn) {
  ScratchFolder folder;
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ASSERT_TRUE(WriteSettingsRecord(folder / "new.set", NumberedTexts()).ok());
  EXPECT_EQ(PermissionsOf(folder / "new.set"), 0666 & ~mask);

  WriteBytes(folder / "old.set", "old");
  ASSERT_EQ(::chmod((folder / "old.set").c_str(), 0640), 0);
  ASSERT_TRUE(WriteSettingsRecord(folder / "old.set", NumberedTexts()).ok());
  EXPECT_EQ(PermissionsOf(folder / "old.set"), 0640u);
}

TEST(SettingsRecordWrite, SymbolicLinkStaysAndItsFileIsReplaced) {
  ScratchFolder folder;
  fs::create_directory(folder / "real");
  WriteBytes(folder / "real/settings.set", "old contents");
  fs::create_symlink("real/settings.set", folder / "link.set");  // relative to the link's folder
  fs::create_symlink(folder / "link.set", folder / "link-to-link.set");

  ASSERT_TRUE(WriteSettingsRecord(folder / "link-to-link.set", NumberedTexts()).ok());

  EXPECT_TRUE(fs::is_symlink(folder / "link.set"));
  EXPECT_TRUE(fs::is_symlink(folder / "link-to-link.set"));
  EXPECT_EQ(ReadBytes(folder / "real/settings.set"), NumberedRecordBytes());
  EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"link-to-link.set", "link.set", "real"}));
}

TEST(SettingsRecordWrite, DanglingSymbolicLinkCreatesTheFileItNames) {
  ScratchFolder folder;
  fs::create_symlink("target.set", folder / "link.set");
  ASSERT_TRUE(WriteSettingsRecord(folder / "link.set", NumberedTexts()).ok());
  EXPECT_TRUE(fs::is_symlink(folder / "link.set"));
  EXPECT_EQ(ReadBytes(folder / "target.set"), NumberedRecordBytes());
}

TEST(SettingsRecordWrite, SymbolicLinkLoopIsRefused) {
  ScratchFolder folder;
  fs::create_symlink("b", folder / "a");
  fs::create_symlink("a", folder / "b");
  Status status = WriteSettingsRecord(folder / "a", NumberedTexts());
  ASSERT_FALSE(status.ok());
  EXPECT_EQ(status.error().message(), "Invalid filename");
  EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"a", "b"}));
}

}  // namespace
}  // namespace tervela
