// Opening files (files.h): which file error each name that cannot be opened
// gives, for reading and for writing.

#include "io/files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "test_support/scratch_folder.h"

namespace tervela::io {
namespace {

struct OpenCase {
  const char* name;
  const char* path;  // in a folder holding file.txt and the folder sub; "" stays empty
  const char* reading;
  const char* reading_folder_at_first_read;  // FolderAtOpen::Open
  const char* writing;
};

template <class Opened>
std::string MessageOf(const Result<Opened>& opened) {
  return opened.ok() ? "ok" : opened.error().message();
}

class OpenErrors : public ::testing::TestWithParam<OpenCase> {};

TEST_P(OpenErrors, NameTheFileError) {
  const OpenCase& c = GetParam();
  testing::ScratchFolder folder;
  testing::WriteBytes(folder / "file.txt", "data");
  std::filesystem::create_directory(folder / "sub");
  const std::string path = *c.path == '\0' ? "" : folder / c.path;
  EXPECT_EQ(MessageOf(OpenForReading(path)), c.reading);
  EXPECT_EQ(MessageOf(OpenForReading(path, FolderAtOpen::Open)), c.reading_folder_at_first_read);
  EXPECT_EQ(MessageOf(OpenForWriting(path)), c.writing);
  EXPECT_EQ(testing::ReadBytes(folder / "file.txt"), "data");  // opened for writing, not emptied
}

// A missing folder is a path not found ("Invalid filename"); a missing file in
// a folder that exists is "File not found".
INSTANTIATE_TEST_SUITE_P(
    Files, OpenErrors,
    ::testing::Values(
        OpenCase{"ExistingFile", "file.txt", "ok", "ok", "ok"},
        OpenCase{"EmptyName", "", "File not found", "File not found", "File not found"},
        OpenCase{"MissingFile", "none.txt", "File not found", "File not found", "ok"},
        OpenCase{"MissingFolder", "no-folder/x.txt", "Invalid filename", "Invalid filename",
                 "Invalid filename"},
        OpenCase{"FileTakenForAFolder", "file.txt/x.txt", "Invalid filename", "Invalid filename",
                 "Invalid filename"},
        OpenCase{"Folder", "sub", "File access denied", "ok", "File access denied"}),
    [](const ::testing::TestParamInfo<OpenCase>& info) { return info.param.name; });

}  // namespace
}  // namespace tervela::io
