// The reader's buffer edges (buffered_reader.h): data that fills its buffer to
// the byte, one byte short or one past, a byte-order mark at the start of a
// file or handed over by a pipe a byte at a time, and its read errors.

#include "io/buffered_reader.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "io/system_calls.h"
#include "test_support/system.h"

namespace tervela::io {
namespace {

struct ReaderCase {
  const char* name;
  std::string bytes;
  std::size_t capacity;
  // How a pipe hands the bytes over, piece by piece; none: a regular file.
  std::vector<std::size_t> pieces;
  std::string data;  // what the reader gives
};

// A reader of `c.bytes`: from a memory file, or from a pipe fed by `feeder`,
// which hands over the first piece at once and each later one after a pause,
// so that the reader finds them one by one.
BufferedReader ReaderOf(const ReaderCase& c, std::thread& feeder) {
  if (c.pieces.empty()) return BufferedReader(FileDescriptor(testing::DescriptorHolding(c.bytes)), c.capacity);
  int ends[2];
  EXPECT_TRUE(testing::MakePipe(ends));
  EXPECT_TRUE(WriteAll(ends[1], std::string_view(c.bytes).substr(0, c.pieces[0])).ok());
  feeder = std::thread([ends, c] {
    std::size_t at = c.pieces[0];
    for (std::size_t i = 1; i < c.pieces.size(); at += c.pieces[i++]) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      if (!WriteAll(ends[1], std::string_view(c.bytes).substr(at, c.pieces[i])).ok()) break;
    }
    (void)Close(ends[1]);
  });
  return BufferedReader(FileDescriptor(ends[0]), c.capacity);
}

class ReaderEdges : public ::testing::TestWithParam<ReaderCase> {};

// As a record reader takes everything it finds at each Fill.
TEST_P(ReaderEdges, GiveTheDataTakenWhole) {
  std::thread feeder;
  BufferedReader reader = ReaderOf(GetParam(), feeder);
  std::string data;
  for (Result<bool> filled = reader.Fill(); filled.ok() && filled.value(); filled = reader.Fill()) {
    EXPECT_LE(reader.size(), reader.capacity());
    data.append(reader.data(), reader.size());
    reader.Consume(reader.size());
  }
  if (feeder.joinable()) feeder.join();
  EXPECT_EQ(data, GetParam().data);
  EXPECT_TRUE(reader.at_end());
  EXPECT_EQ(reader.bytes_read(), GetParam().bytes.size());
}

// As a line reader does while it looks for a line end: it keeps the unread
// bytes and reads more behind them until the buffer is full, then takes half.
TEST_P(ReaderEdges, GiveTheDataKeptAndTakenInHalves) {
  std::thread feeder;
  BufferedReader reader = ReaderOf(GetParam(), feeder);
  std::string data;
  for (;;) {
    for (Result<bool> more = true; more.value();) {
      more = reader.ReadMore();
      ASSERT_TRUE(more.ok()) << more.error().message();
    }
    if (!reader.at_end()) {
      EXPECT_EQ(reader.size(), reader.capacity());
    }
    if (reader.size() == 0) break;
    const std::size_t half = (reader.size() + 1) / 2;
    data.append(reader.data(), half);
    reader.Consume(half);
  }
  if (feeder.joinable()) feeder.join();
  EXPECT_EQ(data, GetParam().data);
}

const std::string kMark = "\xEF\xBB\xBF";

std::string Numbered(std::size_t size) {
  std::string bytes;
  for (std::size_t i = 0; i < size; ++i) bytes.push_back(static_cast<char>('a' + i % 26));
  return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    BufferedReader, ReaderEdges,
    ::testing::Values(
        ReaderCase{"Empty", "", 4, {}, ""},
        ReaderCase{"OneByteShortOfTheBuffer", "abc", 4, {}, "abc"},
        ReaderCase{"FillsTheBuffer", "abcd", 4, {}, "abcd"},
        ReaderCase{"OneBytePastTheBuffer", "abcde", 4, {}, "abcde"},
        ReaderCase{"ManyBuffers", Numbered(1000), 7, {}, Numbered(1000)},
        ReaderCase{"MarkAtTheStartSkippedLaterMarkKept", kMark + "a\r\n" + kMark + "b\r\n", 64, {},
                   "a\r\n" + kMark + "b\r\n"},
        ReaderCase{"MarkAloneIsNoData", kMark, 4, {}, ""},
        ReaderCase{"MarkBeginningOnlyIsData", "\xEF\xBB" "a\n", 4, {}, "\xEF\xBB" "a\n"},
        ReaderCase{"MarkFillsTheBuffer", kMark + "xyz", 3, {}, "xyz"},
        ReaderCase{"MarkAndDataFillTheBuffer", kMark + "x" + Numbered(20), 4, {},
                   "x" + Numbered(20)},
        ReaderCase{"MarkHandedOverAByteAtATime", kMark + "abc", 8, {1, 1, 1, 3}, "abc"},
        ReaderCase{"MarkBeginningThenThePipeEnds", "\xEF\xBB", 8, {1, 1}, "\xEF\xBB"},
        ReaderCase{"MarkBeginningThenOtherData", "\xEF" "abc", 8, {1, 3}, "\xEF" "abc"},
        ReaderCase{"PipeFillsTheBufferPieceByPiece", Numbered(12), 4, {3, 2, 7}, Numbered(12)}),
    [](const ::testing::TestParamInfo<ReaderCase>& info) { return info.param.name; });

struct ReadErrorCase {
  const char* name;
  int (*open)();
  bool inject_read_fault;
  std::string message;
};

class ReadErrors : public ::testing::TestWithParam<ReadErrorCase> {};

// A read that fails gives the file error; a wait that is asked to stop ends
// with ECANCELED.
TEST_P(ReadErrors, AreFileErrors) {
  const ReadErrorCase& c = GetParam();
  BufferedReader reader(FileDescriptor(c.open()), 16);
  reader.SetStopCheck([] { return true; });
  if (c.inject_read_fault) InjectFault(FaultPoint::Read, 1, EIO);
  const Result<bool> filled = reader.Fill();
  ASSERT_FALSE(filled.ok());
  EXPECT_EQ(filled.error().message(), c.message);
  EXPECT_FALSE(FaultPending(FaultPoint::Read));
}

int WithData() { return testing::DescriptorHolding("data"); }

INSTANTIATE_TEST_SUITE_P(
    BufferedReader, ReadErrors,
    ::testing::Values(
        ReadErrorCase{"UnreadableIsAccessDenied", testing::UnreadableDescriptor, false, "File access denied"},
        ReadErrorCase{"InjectedFault", WithData, true, "I/O error 5"},
        ReadErrorCase{"StoppedWhileWaiting", testing::WaitingPipe, false,
                      "I/O error " + std::to_string(ECANCELED)}),
    [](const ::testing::TestParamInfo<ReadErrorCase>& info) { return info.param.name; });

}  // namespace
}  // namespace tervela::io
