#include "settings/line_reader.h"
#include "test_support/scratch_folder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tervela {
namespace {

// A file holding `bytes` in a scratch folder.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::string& bytes) { testing::WriteBytes(path(), bytes); }
  std::string path() const { return folder_ / "lines.txt"; }
  const std::string& folder() const { return folder_.path(); }

 private:
  testing::ScratchFolder folder_;
};

struct LinesCase {
  const char* name;
  std::string bytes;
  std::vector<std::string> lines;  // what the reads give; every read after them gives ""
};

class LineRules : public ::testing::TestWithParam<LinesCase> {};

TEST_P(LineRules, SplitsTheBytesIntoLines) {
  const LinesCase& c = GetParam();
  TemporaryFile file(c.bytes);
  Result<LineReader> opened = LineReader::Open(file.path());
  ASSERT_TRUE(opened.ok()) << opened.error().message();
  LineReader& reader = opened.value();
  std::string line = "not cleared";
  for (const std::string& expected : c.lines) {
    ASSERT_TRUE(reader.ReadLine(line).ok());
    EXPECT_EQ(line, expected);
  }
  for (int past_end = 0; past_end < 3; ++past_end) {
    line = "not cleared";
    ASSERT_TRUE(reader.ReadLine(line).ok());
    EXPECT_EQ(line, "") << "read " << past_end + 1 << " past the end";
  }
  EXPECT_TRUE(reader.Close().ok());
}

const std::string kBeyondOneBuffer(200000, 'b');

INSTANTIATE_TEST_SUITE_P(
    Table, LineRules,
    ::testing::Values(
        LinesCase{"Empty", "", {}}, LinesCase{"CrLf", "a\r\nb\r\n", {"a", "b"}},
        LinesCase{"LfOnly", "a\nb\n", {"a", "b"}},
        LinesCase{"NoFinalLineEnd", "a\r\nb", {"a", "b"}},
        LinesCase{"EmptyLines", "\r\n\n\r\nx", {"", "", "", "x"}},
        LinesCase{"LoneCrDropped", "a\rb\r\n", {"ab"}}, LinesCase{"CrCrLf", "a\r\r\nb", {"a", "b"}},
        LinesCase{"LfCr", "a\n\rb\n", {"a", "b"}}, LinesCase{"OnlyCrs", "\r\r\r", {""}},
        LinesCase{"CtrlZEndsTheData",
                  "a\r\nb\x1A"
                  "c\r\nd\r\n",
                  {"a", "b"}},
        LinesCase{"CtrlZFirst",
                  "\x1A"
                  "abc\r\n",
                  {}},
        LinesCase{"BlanksAndTabsKept", " a \t\r\n", {" a \t"}},
        LinesCase{
            "NulAndHighBytesKept", std::string("\0\xFF\x80\n", 4), {std::string("\0\xFF\x80", 3)}},
        LinesCase{"LineLongerThanTheBuffer",
                  kBeyondOneBuffer + "\r\nnext\r\n",
                  {kBeyondOneBuffer, "next"}},
        LinesCase{"CrLfSplitAcrossBuffers",
                  std::string(65535, 'c') + "\r\nz",
                  {std::string(65535, 'c'), "z"}}),
    [](const ::testing::TestParamInfo<LinesCase>& info) { return info.param.name; });

TEST(LineReaderLimit, LineBeyondSixteenMiBEndsTheReading) {
  const std::string longest(LineReader::kMaxLineLength, 'm');
  TemporaryFile file(longest + "\n" + longest + "+");
  LineReader reader = std::move(LineReader::Open(file.path()).value());
  std::string line;
  EXPECT_TRUE(reader.ReadLine(line).ok() && line == longest);
  EXPECT_EQ(reader.ReadLine(line).error().message(), "Settings line longer than 16 MiB");
}

TEST(LineReaderOpen, FolderFailsAtTheFirstRead) {
  TemporaryFile file("");
  Result<LineReader> opened = LineReader::Open(file.folder());
  ASSERT_TRUE(opened.ok());
  std::string line;
  Status read = opened.value().ReadLine(line);
  ASSERT_FALSE(read.ok());
  EXPECT_EQ(read.error().message(), "File access denied");
}

}  // namespace
}  // namespace tervela
