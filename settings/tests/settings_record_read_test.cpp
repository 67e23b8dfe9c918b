#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "settings/settings_record.h"
#include "test_support/scratch_folder.h"

namespace tervela {
namespace {

using testing::ScratchFolder;
using testing::WriteBytes;

std::string Lines(int count, const char* line_end) {
  std::string bytes;
  for (int i = 1; i <= count; ++i) bytes += "line" + std::to_string(i) + line_end;
  return bytes;
}

struct ReadCase {
  const char* name;
  std::string bytes;
  std::map<int, std::string> expected;  // every other line reads as empty
};

std::map<int, std::string> NumberedLines(int count) {
  std::map<int, std::string> lines;
  for (int i = 0; i < count; ++i) lines[i] = "line" + std::to_string(i + 1);
  return lines;
}

class SettingsRecordRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(SettingsRecordRead, SetsEachLineInOrder) {
  const ReadCase& c = GetParam();
  ScratchFolder folder;
  WriteBytes(folder / "record.set", c.bytes);

  std::vector<int> delivered;
  TSettingsTexts texts;
  texts.fill("old");
  Status status =
      ReadSettingsRecord(folder / "record.set", [&](int index, const std::string& text) {
        delivered.push_back(index);
        texts[static_cast<std::size_t>(index)] = text;
      });

  ASSERT_TRUE(status.ok()) << status.error().message();
  ASSERT_EQ(delivered.size(), 38u);
  for (int i = 0; i < kSettingsLineCount; ++i) {
    EXPECT_EQ(delivered[static_cast<std::size_t>(i)], i);
    const auto found = c.expected.find(i);
    EXPECT_EQ(texts[static_cast<std::size_t>(i)], found == c.expected.end() ? "" : found->second)
        << "line " << i + 1;
  }
}

INSTANTIATE_TEST_SUITE_P(
    LineRules, SettingsRecordRead,
    ::testing::Values(
        ReadCase{"Empty", "", {}},
        ReadCase{"TenLinesEmptyTheRest", Lines(10, "\r\n"), NumberedLines(10)},
        ReadCase{"LfOnlyLikeCrLf", Lines(38, "\n"), NumberedLines(38)},
        ReadCase{"MixedLineEnds", "line1\nline2\r\nline3", NumberedLines(3)},
        ReadCase{"LinesAfterThe38thIgnored", Lines(45, "\r\n"), NumberedLines(38)},
        ReadCase{"LoneCrDropped", "a\rb\r\n\r\rc\r\n", {{0, "ab"}, {1, "c"}}},
        ReadCase{"CtrlZEndsTheData", "one\r\ntw\x1Ao\r\nthree\r\n", {{0, "one"}, {1, "tw"}}},
        ReadCase{"CtrlZAtLineStart", "one\r\n\x1Atwo\r\n", {{0, "one"}}},
        ReadCase{"BlankLinesKept", "\r\n  \r\n\t\r\n", {{1, "  "}, {2, "\t"}}},
        ReadCase{"BytesKeptAsTheyAre",
                 std::string("5,5\r\n\xE9\xFC\x80\r\n\0x\r\n", 14),
                 {{0, "5,5"}, {1, "\xE9\xFC\x80"}, {2, std::string("\0x", 2)}}}),
    [](const ::testing::TestParamInfo<ReadCase>& info) { return info.param.name; });

TEST(SettingsRecordRead, MissingFileChangesNothing) {
  ScratchFolder folder;
  int calls = 0;
  Status status =
      ReadSettingsRecord(folder / "absent.set", [&](int, const std::string&) { ++calls; });
  ASSERT_FALSE(status.ok());
  EXPECT_EQ(status.error().message(), "File not found");
  EXPECT_EQ(status.error().BoxText(), "File not found.");
  EXPECT_EQ(calls, 0);
  EXPECT_TRUE(folder.Entries().empty());
}

TEST(SettingsRecordRead, FolderInsteadOfFileIsRefusedBeforeAnyLine) {
  ScratchFolder folder;
  int calls = 0;
  Status status =
      ReadSettingsRecord(folder.path(), [&](int, const std::string&) { ++calls; });
  ASSERT_FALSE(status.ok());
  EXPECT_EQ(status.error().message(), "File access denied");
  EXPECT_EQ(calls, 0);
}

}  // namespace
}  // namespace tervela
