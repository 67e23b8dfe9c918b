#include "io/windows/windows_error.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "test_support/case_name.h"

namespace tervela {
namespace {

struct WindowsErrorCase {
  DWORD code;
  const char* message;
};

class WindowsErrors : public ::testing::TestWithParam<WindowsErrorCase> {};

// Windows' errors reach the user through the one errno mapping, by the same
// messages; one errno has no name for keeps Windows' number.
TEST_P(WindowsErrors, MapToTheProgramsFileErrors) {
  EXPECT_EQ(Error::FromErrno(io::windows::ErrnoOf(GetParam().code)).message(), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Mapping, WindowsErrors,
    ::testing::Values(WindowsErrorCase{ERROR_FILE_NOT_FOUND, "File not found"},
                      WindowsErrorCase{ERROR_PATH_NOT_FOUND, "Invalid filename"},
                      WindowsErrorCase{ERROR_INVALID_NAME, "Invalid filename"},
                      WindowsErrorCase{ERROR_CANT_RESOLVE_FILENAME, "Invalid filename"},
                      WindowsErrorCase{ERROR_TOO_MANY_OPEN_FILES, "Too many open files"},
                      WindowsErrorCase{ERROR_ACCESS_DENIED, "File access denied"},
                      WindowsErrorCase{ERROR_WRITE_PROTECT, "File access denied"},
                      WindowsErrorCase{ERROR_SHARING_VIOLATION, "I/O error 32"},
                      WindowsErrorCase{ERROR_LOCK_VIOLATION, "I/O error 33"},
                      WindowsErrorCase{ERROR_DISK_FULL, "Disk full"},
                      WindowsErrorCase{ERROR_HANDLE_DISK_FULL, "Disk full"},
                      WindowsErrorCase{ERROR_NOT_READY, "I/O error 21"}),
    [](const auto& info) { return testing::CaseName(info.index, info.param.message); });

TEST(WindowsErrors, AClosedPipeIsEpipeAsOnPosix) {
  EXPECT_EQ(io::windows::ErrnoOf(ERROR_NO_DATA), EPIPE);
  EXPECT_EQ(io::windows::ErrnoOf(ERROR_BROKEN_PIPE), EPIPE);
}

TEST(WindowsNames, AreUtf16AtTheSystemAndUtf8Elsewhere) {
  const std::string name = "\\\\server\\share/Zürich \xE2\x82\xAC.txt";
  const std::optional<std::wstring> wide = io::windows::WideName(name);
  ASSERT_TRUE(wide);
  EXPECT_EQ(*wide, L"\\\\server\\share/Z\u00FCrich \u20AC.txt");
  EXPECT_EQ(io::windows::Utf8Name(*wide), name);
  EXPECT_FALSE(io::windows::WideName("bad \xFF byte"));
  EXPECT_FALSE(io::windows::WideName(std::string("nul\0inside", 10)));
}

}  // namespace
}  // namespace tervela
