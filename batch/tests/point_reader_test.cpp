// The reading rules of point files, observed record by record on the reader.

#include "batch/point_reader.h"
#include "batch/record_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_support/system.h"

namespace tervela {
namespace {

struct ReadRecord {
  std::string first, second, free_text;
  friend bool operator==(const ReadRecord&, const ReadRecord&) = default;
  friend std::ostream& operator<<(std::ostream& os, const ReadRecord& r) {
    return os << "{'" << r.first << "' '" << r.second << "' '" << r.free_text << "'}";
  }
};

// A descriptor holding `bytes` from its start.
int DescriptorWith(const std::string& bytes) {
  const int fd = testing::DescriptorHolding(bytes);
  EXPECT_GE(fd, 0);
  return fd;
}

// Reads records the way a run does: two tokens, then the free text to the
// line end, while the input is not exhausted.
std::vector<ReadRecord> ReadAll(const std::string& bytes) {
  PointReader reader(io::FileDescriptor{DescriptorWith(bytes)});
  std::vector<ReadRecord> records;
  for (;;) {
    Result<bool> exhausted = reader.Exhausted();
    EXPECT_TRUE(exhausted.ok());
    if (!exhausted.ok() || exhausted.value()) break;
    TNumberToken first, second;
    EXPECT_TRUE(reader.ReadToken(first).ok());
    EXPECT_TRUE(reader.ReadToken(second).ok());
    EXPECT_TRUE(reader.BufferRestOfLine().ok());
    ReadRecord record{std::string(first.view()), std::string(second.view()), ""};
    for (;;) {
      Result<std::string_view> piece = reader.NextFreeTextPiece();
      EXPECT_TRUE(piece.ok());
      if (!piece.ok() || piece.value().empty()) break;
      record.free_text.append(piece.value());
    }
    records.push_back(record);
  }
  EXPECT_TRUE(reader.Close().ok());
  return records;
}

struct ReadingCase {
  const char* name;
  std::string bytes;
  std::vector<ReadRecord> records;
};

class ReadingRules : public ::testing::TestWithParam<ReadingCase> {};

TEST_P(ReadingRules, GiveTheseRecords) { EXPECT_EQ(ReadAll(GetParam().bytes), GetParam().records); }

const std::string k64 = std::string(56, '0') + "45.22568";  // 64 characters
const std::string k65 = std::string(57, '0') + "45.22568";  // 65 characters

INSTANTIATE_TEST_SUITE_P(
    PointFile, ReadingRules,
    ::testing::Values(
        ReadingCase{"Empty", "", {}},
        ReadingCase{"CrLf", "1 2 free text\r\n", {{"1", "2", " free text"}}},
        ReadingCase{"Lf", "1 2 free text\n3 4\n", {{"1", "2", " free text"}, {"3", "4", ""}}},
        ReadingCase{"NoFinalLineEnd", "1 2 a\n3 4 b", {{"1", "2", " a"}, {"3", "4", " b"}}},
        ReadingCase{"EmptyLineAfterLastAddsZeroRecord", "1 2\n\n", {{"1", "2", ""}, {"", "", ""}}},
        ReadingCase{"BlankLineAfterLastAddsZeroRecord", "1 2\r\n  \r\n", {{"1", "2", ""}, {"", "", ""}}},
        ReadingCase{"EmptyLinesBetweenSkipped", "\n\n1 2 a\n\r\n \t\n3 4 b\n", {{"1", "2", " a"}, {"3", "4", " b"}}},
        ReadingCase{"SecondNumberFromNextLine", "1\n2 text\n", {{"1", "2", " text"}}},
        ReadingCase{"TabKeptInText", "1 2\tcol\t b \r\n", {{"1", "2", "\tcol\t b "}}},
        ReadingCase{"LoneCrDropped", "1 2 a\rb\r\r\n", {{"1", "2", " ab"}}},
        ReadingCase{"ControlCharactersAreBlanks", std::string("1\x01\x1f\0\v2 x\n", 9), {{"1", "2", " x"}}},
        ReadingCase{"ManyBlanksBetweenNumbers", "  1   \t 2   x\n", {{"1", "2", "   x"}}},
        ReadingCase{"CtrlZEndsText", "1 2 a\x1a b\n3 4\n", {{"1", "2", " a"}}},
        ReadingCase{"CtrlZAtStart", "\x1a" "1 2\n", {}},
        ReadingCase{"CtrlZAfterLineEnd", "1 2\n\x1a\n5 6\n", {{"1", "2", ""}}},
        ReadingCase{"BlankBeforeCtrlZMakesZeroRecord", "1 2\n \x1a", {{"1", "2", ""}, {"", "", ""}}},
        ReadingCase{"CtrlZWhileSkippingEndsNumber", "1\x1a" "2\n", {{"1", "", ""}}},
        ReadingCase{"TokensAreNotValidatedHere", "N E title\n", {{"N", "E", " title"}}},
        ReadingCase{"SixtyFourCharacterToken", k64 + " 13.58477 t\n", {{k64, "13.58477", " t"}}},
        ReadingCase{"SixtyFifthCharacterStartsNextToken", k65 + " 13.58477 t\n",
                    {{k65.substr(0, 64), "8", " 13.58477 t"}}},
        ReadingCase{"SixtyFifthCharacterOfSecondStartsText", "1 " + k65 + "\n",
                    {{"1", k65.substr(0, 64), "8"}}}),
    [](const auto& info) { return std::string(info.param.name); });

// Free text far longer than the reader's 256 KiB buffer, and records whose
// line, or line and line end, fill that buffer to the byte or one past it.
TEST(PointReader, StreamsFreeTextLongerThanItsBuffer) {
  constexpr std::size_t kBuffer = 256 * 1024, kLead = 4;  // "1 2 "
  for (const std::size_t size : {kBuffer * 12 + 17, kBuffer - kLead - 2, kBuffer - kLead - 1,
                                 kBuffer - kLead, kBuffer - kLead + 1}) {
    std::string text(size, 'x');
    for (std::size_t i = 0; i < text.size(); i += 1000) text[i] = static_cast<char>('a' + i % 26);
    const std::vector<ReadRecord> records = ReadAll("1 2 " + text + "\r\n7 8 end\r\n");
    ASSERT_EQ(records.size(), 2u) << size;
    EXPECT_TRUE(records[0].free_text == " " + text) << size;
    EXPECT_EQ(records[1], (ReadRecord{"7", "8", " end"})) << size;
  }
}

TEST(PointReader, SkipRestOfLineStopsAfterLineEnd) {
  PointReader reader(io::FileDescriptor{DescriptorWith("a b rest\r\n3 4 next\n")});
  TNumberToken token;
  ASSERT_TRUE(reader.ReadToken(token).ok());
  ASSERT_TRUE(reader.SkipRestOfLine().ok());
  ASSERT_TRUE(reader.ReadToken(token).ok());
  EXPECT_EQ(token.view(), "3");
}

}  // namespace
}  // namespace tervela
