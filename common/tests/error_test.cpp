#include "common/error.h"
#include "common/utf8.h"
#include "test_support/case_name.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <new>
#include <stdexcept>

namespace tervela {
namespace {

struct BoxCase {
  const char* message;
  const char* box_text;
};

class ErrorBoxFullStop : public ::testing::TestWithParam<BoxCase> {};

TEST_P(ErrorBoxFullStop, AppendedOnlyAfterCharactersAboveTheFullStop) {
  EXPECT_EQ(ErrorBoxText(GetParam().message), GetParam().box_text);
}

INSTANTIATE_TEST_SUITE_P(
    Rule, ErrorBoxFullStop,
    ::testing::Values(BoxCase{"File not found", "File not found."},
                      BoxCase{"I/O error 112", "I/O error 112."},
                      BoxCase{"Ends with a point.", "Ends with a point."},
                      BoxCase{"Ends with a blank ", "Ends with a blank "},
                      BoxCase{"'x y' is not a valid floating point value",
                              "'x y' is not a valid floating point value."},
                      BoxCase{"quoted '", "quoted '"}, BoxCase{"(bracketed)", "(bracketed)"},
                      BoxCase{"comma,", "comma,"}, BoxCase{"minus-", "minus-"},
                      BoxCase{"slash/", "slash/."}, BoxCase{"colon:", "colon:."},
                      BoxCase{"degree \xB0", "degree \xB0."}, BoxCase{"", ""}),
    [](const auto& info) { return testing::CaseName(info.index, info.param.message); });

TEST(ErrorBoxFullStop, NotANumberMessageGetsItsFullStop) {
  EXPECT_EQ(Error::NotANumber("12a").BoxText(), "'12a' is not a valid floating point value.");
  EXPECT_EQ(Error::NotANumber("").message(), "'' is not a valid floating point value");
  EXPECT_EQ(Error::Overflow().BoxText(), "Floating point overflow.");
}

TEST(ErrorQuotedText, KeepsTheFirstEightyCharacters) {
  const std::string x79(79, 'x');
  const std::pair<std::string, std::string> quoted[] = {
      {x79 + "y", x79 + "y"}, {x79 + "yz", x79 + "y..."},
      {std::string(10'000'000, 'z'), std::string(80, 'z') + "..."},
      {x79 + "\xC2\xB0\xC2\xB0", x79 + "\xC2\xB0..."},  // a UTF-8 character counts once, uncut
      {x79 + "\xB0\xB0", x79 + "\xB0..."},                // a byte outside one counts once
      {x79 + "\xE2\x82\xAC\xE2\x82\xAC", x79 + "\xE2\x82\xAC..."},  // 3 bytes at the cut
      {x79 + "\xF0\x9F\x98\x80\xF0\x9F\x98\x80", x79 + "\xF0\x9F\x98\x80..."},  // 4 bytes
      {x79 + "\xF0\x9F\x98\x80", x79 + "\xF0\x9F\x98\x80"},  // the 80th, at the end
      {x79 + "\xF0\x9F\x98", x79 + "\xF0..."},  // cut short at the end: three bytes of one each
      {std::string(78, 'x') + "\xE2\x82", std::string(78, 'x') + "\xE2\x82"}};
  for (const auto& [text, cut] : quoted) {
    EXPECT_EQ(Error::NotANumber(text).message(), "'" + cut + "' is not a valid floating point value");
  }
}

// A sequence is whole only within the text it is given, even where the bytes
// after the text would complete it.
TEST(Utf8SequenceLength, CountsOnlyTheBytesOfTheText) {
  const std::string_view bytes = "\xC2\xB0\xE2\x82\xAC\xF0\x9F\x98\x80";
  const struct {
    std::size_t offset, size, length;
  } cases[] = {{0, 1, 0}, {0, 2, 2}, {2, 2, 0}, {2, 3, 3}, {5, 3, 0}, {5, 4, 4}, {1, 2, 0}};
  for (const auto& c : cases) {
    EXPECT_EQ(Utf8SequenceLength(bytes.substr(c.offset, c.size)), c.length) << c.offset << "+" << c.size;
  }
}

TEST(ErrorFromException, FailedAllocationIsOutOfMemory) {
  EXPECT_EQ(Error::FromException(std::bad_alloc()).BoxText(), "Out of memory.");
  EXPECT_EQ(Error::FromException(std::runtime_error("Resource busy")).message(), "Resource busy");
}

struct FileErrorCase {
  int code;
  const char* message;
};

class FileErrorMessage : public ::testing::TestWithParam<FileErrorCase> {};

TEST_P(FileErrorMessage, NamesTheNumberedError) {
  const Error error = Error::File(GetParam().code);
  EXPECT_EQ(error.kind(), ErrorKind::File);
  EXPECT_EQ(error.code(), GetParam().code);
  EXPECT_EQ(error.message(), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FileErrorMessage,
    ::testing::Values(FileErrorCase{2, "File not found"}, FileErrorCase{3, "Invalid filename"},
                      FileErrorCase{4, "Too many open files"},
                      FileErrorCase{5, "File access denied"},
                      FileErrorCase{100, "Read beyond end of file"},
                      FileErrorCase{101, "Disk full"}, FileErrorCase{106, "Invalid numeric input"},
                      FileErrorCase{32, "I/O error 32"}, FileErrorCase{112, "I/O error 112"},
                      FileErrorCase{1, "I/O error 1"}, FileErrorCase{102, "I/O error 102"}),
    [](const auto& info) { return testing::CaseName(info.index, info.param.message); });

struct ErrnoCase {
  int errno_value;
  const char* message;
};

class FileErrorFromErrno : public ::testing::TestWithParam<ErrnoCase> {};

TEST_P(FileErrorFromErrno, MapsToTheProgramsFileError) {
  const Error error = Error::FromErrno(GetParam().errno_value);
  EXPECT_EQ(error.kind(), ErrorKind::File);
  EXPECT_EQ(error.message(), GetParam().message) << "errno " << GetParam().errno_value;
}

#if defined(EDQUOT)
constexpr int kQuotaErrno = EDQUOT;
#else  // Windows' C library names no disk quota
constexpr int kQuotaErrno = ENOSPC;
#endif

// Errno values that the table does not name keep their own number, even where
// that number means something else in the program's table (EIO is 5, EINTR 4,
// 101 is ENETUNREACH on Linux); so does a system error errno has no name for.
INSTANTIATE_TEST_SUITE_P(
    Mapping, FileErrorFromErrno,
    ::testing::Values(
        ErrnoCase{ENOENT, "File not found"}, ErrnoCase{ENOTDIR, "Invalid filename"},
        ErrnoCase{ENAMETOOLONG, "Invalid filename"}, ErrnoCase{ELOOP, "Invalid filename"},
        ErrnoCase{EMFILE, "Too many open files"}, ErrnoCase{ENFILE, "Too many open files"},
        ErrnoCase{EACCES, "File access denied"}, ErrnoCase{EPERM, "File access denied"},
        ErrnoCase{EROFS, "File access denied"}, ErrnoCase{EISDIR, "File access denied"},
        ErrnoCase{ENOSPC, "Disk full"}, ErrnoCase{kQuotaErrno, "Disk full"},
        ErrnoCase{EIO, "I/O error 5"}, ErrnoCase{EINTR, "I/O error 4"},
        ErrnoCase{ESRCH, "I/O error 3"}, ErrnoCase{101, "I/O error 101"},
        ErrnoCase{EFBIG, "I/O error 27"}, ErrnoCase{EBUSY, "I/O error 16"},
        ErrnoCase{kSystemErrorBase + 32, "I/O error 32"}),
    [](const auto& info) { return testing::CaseName(info.index, info.param.message); });

TEST(FileErrorFromErrno, KeepsTheErrnoAsCodeWhenUnnamed) {
  EXPECT_EQ(Error::FromErrno(EIO).code(), EIO);
  EXPECT_EQ(Error::FromErrno(ENOSPC).code(), 101);
  EXPECT_EQ(Error::FromErrno(ENOENT), Error::File(2));
  // A closed pipe and the sharing refusal read alike; the origin tells them apart.
  EXPECT_EQ(Error::FromErrno(EPIPE), Error::File(file_error::kSharingViolation));
  EXPECT_EQ(Error::FromErrno(EPIPE).errno_value(), EPIPE);
  EXPECT_EQ(Error::File(file_error::kSharingViolation).errno_value(), 0);
}

}  // namespace
}  // namespace tervela
