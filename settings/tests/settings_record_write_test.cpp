#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "io/system_calls.h"
#include "settings/settings_record.h"
#include "test_support/scratch_folder.h"

namespace tervela {
namespace {

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
  // The first begins with a byte-order mark, which a read skips at the
  // start of the file.
  const std::string texts_to_keep[] = {"\xEF\xBB\xBF" "682",
                                       "",
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

// The record is saved by io::ReplaceFile, whose tests (io/tests) show what
// each kind of target and each failure leaves; here, that it is the one used.
TEST(SettingsRecordWrite, SaveThatFailsKeepsTheOldRecord) {
  ScratchFolder folder;
  WriteBytes(folder / "site.set", "old\r\n");
  io::InjectFault(io::FaultPoint::Write, 1, ENOSPC);
  const Status status = WriteSettingsRecord(folder / "site.set", NumberedTexts());
  ASSERT_FALSE(status.ok());
  EXPECT_EQ(status.error().message(), "Disk full");
  EXPECT_EQ(ReadBytes(folder / "site.set"), "old\r\n");
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"site.set"});
}

}  // namespace
}  // namespace tervela
