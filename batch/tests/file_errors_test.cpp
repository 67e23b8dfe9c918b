// File errors: what each failure reports and what it leaves on disk.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <map>

#include "batch/point_file_run.h"
#include "batch/tests/run_helpers.h"
#include "io/system_calls.h"
#include "test_support/case_name.h"
#include "test_support/system.h"

namespace tervela {
namespace {

using testing::BoxTextOf;
using testing::Exists;
using testing::ReadBytes;
using testing::WriteBytes;

const std::string kInput = "45.22568 13.58477 a\n";

Status Convert(const std::string& input, const std::string& output, bool scripts = false) {
  const TFileConversion request{TConversionDirection::WgsToA, TShiftMethod::ThreeParameter, scripts,
                                input, output};
  return ConvertPointFile(request, testing::WorkedExampleSystems());
}

class FileErrors : public ::testing::Test {
 protected:
  void SetUp() override { WriteBytes(in_, kInput); }
  testing::ScratchFolder folder_;
  std::string in_ = folder_ / "in.txt";
  std::string out_ = folder_ / "out.txt";
};

TEST_F(FileErrors, MissingInputCreatesNothing) {
  EXPECT_EQ(BoxTextOf(Convert(folder_ / "none.txt", out_, true)), "File not found.");
  EXPECT_FALSE(Exists(out_));
  EXPECT_FALSE(Exists(out_ + " text.scr"));
}

TEST_F(FileErrors, NamesInAnyLanguageAreFound) {
  const std::string input = folder_ / "Zürich – Čakovec.txt", output = folder_ / "výstup €.txt";
  WriteBytes(input, kInput);
  EXPECT_EQ(BoxTextOf(Convert(input, output, true)), "");
  EXPECT_EQ(ReadBytes(output), "5010498.551 388863.697 a\r\n");
  EXPECT_TRUE(Exists(output + " text.scr"));
}

TEST_F(FileErrors, EmptyNamesAreNotFound) {
  EXPECT_EQ(BoxTextOf(Convert("", out_)), "File not found.");
  EXPECT_FALSE(Exists(out_));
  EXPECT_EQ(BoxTextOf(Convert(in_, "")), "File not found.");
}

TEST_F(FileErrors, DirectoriesAreRefused) {
  EXPECT_EQ(BoxTextOf(Convert(folder_.path(), out_)), "File access denied.");
  EXPECT_FALSE(Exists(out_));
  EXPECT_EQ(BoxTextOf(Convert(in_, folder_.path())), "File access denied.");
}

TEST_F(FileErrors, OutputNamingTheInputLeavesItIntact) {
  std::vector<std::string> outputs = {in_, folder_ / "hardlink.txt", folder_.path() + "/./in.txt"};
  std::filesystem::create_hard_link(in_, outputs[1]);
  if (testing::WhyLacking(testing::Facility::SymbolicLinks).empty()) {
    std::filesystem::create_symlink(in_, outputs.emplace_back(folder_ / "symlink.txt"));
  }
  for (const std::string& output : outputs) {
    EXPECT_EQ(BoxTextOf(Convert(in_, output, true)), "I/O error 32.") << output;
    EXPECT_FALSE(Exists(output + " text.scr")) << output;
  }
  EXPECT_EQ(ReadBytes(in_), kInput);
}

TEST_F(FileErrors, ScriptNamingTheInputCreatesNothing) {
  const std::string input = out_ + " point.scr";
  WriteBytes(input, kInput);
  EXPECT_EQ(BoxTextOf(Convert(input, out_, true)), "I/O error 32.");
  EXPECT_FALSE(Exists(out_));
  EXPECT_EQ(ReadBytes(input), kInput);
  // Without scripts the same names do not meet.
  EXPECT_EQ(BoxTextOf(Convert(input, out_, false)), "");
}

TEST_F(FileErrors, ScriptLinkedToTheOutputIsRefused) {
  TERVELA_SKIP_WITHOUT(SymbolicLinks);
  WriteBytes(out_, "old");
  std::filesystem::create_symlink(out_, out_ + " text.scr");
  EXPECT_EQ(BoxTextOf(Convert(in_, out_, true)), "I/O error 32.");
  EXPECT_EQ(ReadBytes(out_), "old");
}

// Files a run would make, meeting one another under two names, are refused
// before any is made or changed; so is every run whose map file cannot be
// opened, which names it.
TEST_F(FileErrors, OutputsMeetingOrFailingChangeNothing) {
  const struct {
    std::string geojson, kml, plot, error;
  } cases[] = {{folder_ / "x", folder_ / "x", "", "I/O error 32."},
               {folder_ / "x", folder_.path() + "/./x", "", "I/O error 32."},
               {"", "", out_ + " text.scr", "I/O error 32."},
               {folder_ / "x", folder_ / "no-folder/x.kml", "", "Invalid filename."},
               {"", "", folder_.path(), "File access denied."}};
  for (const auto& c : cases) {
    WriteBytes(out_, "old");
    WriteBytes(out_ + " point.scr", "old");
    const TFileConversion request{TConversionDirection::WgsToA, TShiftMethod::ThreeParameter,
                                  true, in_, out_, c.geojson, c.kml, c.plot};
    const Status status = ConvertPointFile(request, testing::WorkedExampleSystems());
    EXPECT_EQ(BoxTextOf(status), c.error) << c.kml << c.plot;
    EXPECT_EQ(status.error().file(), c.error == "I/O error 32." ? "" : c.kml + c.plot);
    EXPECT_EQ(ReadBytes(out_), "old");
    EXPECT_EQ(ReadBytes(out_ + " point.scr"), "old");
    EXPECT_EQ(folder_.Entries().size(), 3u) << c.kml << c.plot;  // in.txt and the two old files
  }
}

TEST_F(FileErrors, FullDiskIsReported) {
  TERVELA_SKIP_WITHOUT(FullDevice);
  EXPECT_EQ(BoxTextOf(Convert(in_, "/dev/full")), "Disk full.");
  // Lines buffered before a later error failed first, so theirs is the report.
  WriteBytes(in_, kInput + "bad\n");
  EXPECT_EQ(BoxTextOf(Convert(in_, "/dev/full")), "Disk full.");
}

// Root ignores permissions, so these are tried as an ordinary user.
TEST_F(FileErrors, ReadOnlyOutputFolderIsAccessDenied) {
  TERVELA_SKIP_WITHOUT(PosixPermissions);
  const std::string folder = folder_ / "read-only";
  std::filesystem::create_directory(folder);
  ::chmod(folder.c_str(), 0555);
  ::chmod(folder_.path().c_str(), 0755);
  ::chmod(in_.c_str(), 0644);
  EXPECT_EQ(testing::MessageAsOrdinaryUser([&] { return Convert(in_, folder + "/out.txt"); }), "File access denied");
  EXPECT_FALSE(Exists(folder + "/out.txt"));
}

// A read-only output file, and on Windows one another program holds without
// sharing, is refused and kept.
TEST_F(FileErrors, ProtectedOutputIsRefusedAndKept) {
  WriteBytes(out_, "old");
  ::chmod(folder_.path().c_str(), 0755);
  ::chmod(in_.c_str(), 0644);
  ::chmod(out_.c_str(), 0444);
  EXPECT_EQ(testing::MessageAsOrdinaryUser([&] { return Convert(in_, out_); }), "File access denied");
  EXPECT_EQ(ReadBytes(out_), "old");
  ::chmod(out_.c_str(), 0644);
  TERVELA_SKIP_WITHOUT(HeldWithoutSharing);
  const testing::HeldFile held(out_);
  EXPECT_EQ(BoxTextOf(Convert(in_, out_)), "I/O error 32.");
  EXPECT_EQ(BoxTextOf(Convert(out_, folder_ / "other.txt")), "I/O error 32.");
}

// Records the last progress report and asks to stop once `cancel_at` points
// are written.
struct TestObserver final : RunObserver {
  std::uint64_t bytes = 0, points = 0, cancel_at = UINT64_MAX;
  void Progress(std::uint64_t bytes_read, std::uint64_t points_written) override {
    bytes = bytes_read;
    points = points_written;
  }
  bool CancelRequested() override { return points >= cancel_at; }
};

TEST_F(FileErrors, DescriptorsAndProgress) {
  const TFileConversion request{TConversionDirection::WgsToA, TShiftMethod::ThreeParameter, false, "", ""};
  TestObserver observer;
  TRunEndpoints endpoints;
  endpoints.input_fd = testing::OpenDescriptor(in_, testing::OpenMode::Read);
  endpoints.output_fd = testing::OpenDescriptor(out_, testing::OpenMode::Write);
  endpoints.observer = &observer;
  EXPECT_TRUE(ConvertPointFile(request, testing::WorkedExampleSystems(), endpoints).ok());
  EXPECT_EQ(ReadBytes(out_), "5010498.551 388863.697 a\r\n");
  EXPECT_EQ(observer.bytes, kInput.size());

  // Output descriptor open on the input itself (an append redirection).
  endpoints.input_fd = testing::OpenDescriptor(in_, testing::OpenMode::Read);
  endpoints.output_fd = testing::OpenDescriptor(in_, testing::OpenMode::Append);
  endpoints.observer = nullptr;
  EXPECT_EQ(BoxTextOf(ConvertPointFile(request, testing::WorkedExampleSystems(), endpoints)),
            "I/O error 32.");
  EXPECT_EQ(ReadBytes(in_), kInput);
}

std::uint64_t CountOf(const std::string& text, const std::string& part) {
  std::uint64_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

// A cancelled run ends at a record boundary, in both the one-at-a-time and
// the batched directions, keeping whole lines, a complete map file of the
// points written and the input untouched.
TEST_F(FileErrors, CancelKeepsTheWholeLinesWritten) {
  for (const TConversionDirection direction : {TConversionDirection::WgsToB, TConversionDirection::BToWgs}) {
    std::string input;
    for (int i = 0; i < 10000; ++i) {
      input += FromWgs(direction) ? "45.22568 13.58477 p\r\n" : "5010498.551 388863.697 p\r\n";
    }
    WriteBytes(in_, input);
    TFileConversion request{direction, TShiftMethod::ThreeParameter, true, in_, out_};
    request.kml_name = folder_ / "out.kml";
    TestObserver observer;
    observer.cancel_at = 1;
    TRunEndpoints endpoints;
    endpoints.observer = &observer;
    ASSERT_TRUE(ConvertPointFile(request, testing::WorkedExampleSystems(), endpoints).ok());
    const std::string output = ReadBytes(out_);
    EXPECT_GT(observer.points, 0u);
    EXPECT_LT(observer.points, 10000u);
    EXPECT_EQ(static_cast<std::uint64_t>(std::count(output.begin(), output.end(), '\n')), observer.points);
    EXPECT_EQ(output.substr(output.size() - 2), "\r\n");
    const std::string kml = ReadBytes(folder_ / "out.kml");
    EXPECT_EQ(CountOf(kml, "<Placemark>"), observer.points);
    EXPECT_TRUE(kml.ends_with("</Document>\n</kml>\n"));
    EXPECT_EQ(ReadBytes(in_), input);
  }
}

// Every write and close of a point-file run made to fail in turn, from the
// first call to the last: each failure is reported with its mapped message,
// every file is closed, the input stays as it was, and each file written is a
// prefix of its good contents. (A settings save's faults are ReplaceFile's,
// tested in io/tests.)
using Contents = std::map<std::string, std::string>;

// Sets up the run's files in `folder`, runs it and returns its status; `kept`
// are the files (and contents) it must not change, `written` those it writes.
Status RunJob(const testing::ScratchFolder& folder, Contents& kept, std::vector<std::string>& written) {
  kept = {{"in.txt", "45.22568 13.58477 a\n45.3 13.6 b\n"}};
  WriteBytes(folder / "in.txt", kept["in.txt"]);
  written = {"out.txt", "out.txt text.scr", "out.txt point.scr", "out.txt prognumb.scr"};
  const TFileConversion request{TConversionDirection::WgsToA, TShiftMethod::ThreeParameter, true,
                                folder / "in.txt", folder / "out.txt"};
  return ConvertPointFile(request, testing::WorkedExampleSystems());
}

TEST(FaultAtEveryCall, IsReportedClosesEveryFileAndHarmsNone) {
  const struct {
    io::FaultPoint point;
    int errno_value;
    const char* message;
  } faults[] = {{io::FaultPoint::Write, ENOSPC, "Disk full."},
                {io::FaultPoint::Close, EIO, "I/O error 5."}};
  testing::ScratchFolder good;
  Contents kept;
  std::vector<std::string> written;
  ASSERT_TRUE(RunJob(good, kept, written).ok());
  for (const auto& fault : faults) {
    for (int k = 1;; ++k) {
      SCOPED_TRACE(::testing::Message() << fault.message << " at call " << k);
      testing::ScratchFolder folder;
      const int descriptors = testing::OpenFileCount();
      io::InjectFault(fault.point, k, fault.errno_value);
      const Status status = RunJob(folder, kept, written);
      if (io::FaultPending(fault.point)) {  // the run makes fewer than k such calls
        io::InjectFault(fault.point, 0, 0);
        EXPECT_TRUE(status.ok());
        EXPECT_GT(k, 1) << "nothing failed";
        break;
      }
      EXPECT_EQ(BoxTextOf(status), fault.message);
      EXPECT_EQ(testing::OpenFileCount(), descriptors);
      for (const auto& [name, contents] : kept) EXPECT_EQ(ReadBytes(folder / name), contents);
      for (const std::string& name : written) {
        const std::string bytes = ReadBytes(folder / name);
        EXPECT_TRUE(bytes == "<missing>" || ReadBytes(good / name).starts_with(bytes)) << name;
      }
    }
  }
}

// Two failures in one run: the one that happened first is reported. A run
// that fails reading closes its output first; a run that ends closes its
// input before it flushes its output.
TEST(TwoFaultsInOneRun, TheFirstIsReported) {
  const struct {
    io::FaultPoint first;
    int first_errno;
    int failing_close;
    const char* message;
  } cases[] = {{io::FaultPoint::Read, EIO, 1, "I/O error 5."},
               {io::FaultPoint::Read, EIO, 2, "I/O error 5."},
               {io::FaultPoint::Write, ENOSPC, 1, "File access denied."},
               {io::FaultPoint::Write, ENOSPC, 2, "Disk full."}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.message << ", close " << c.failing_close << " fails");
    testing::ScratchFolder folder;
    Contents kept;
    std::vector<std::string> written;
    io::InjectFault(c.first, 1, c.first_errno);
    io::InjectFault(io::FaultPoint::Close, c.failing_close, EACCES);
    const Status status = RunJob(folder, kept, written);
    EXPECT_FALSE(io::FaultPending(c.first));
    EXPECT_FALSE(io::FaultPending(io::FaultPoint::Close));
    EXPECT_EQ(BoxTextOf(status), c.message);
  }
}

}  // namespace
}  // namespace tervela
