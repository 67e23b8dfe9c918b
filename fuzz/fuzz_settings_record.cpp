// Fuzzes the settings record reader: the input is a settings file.
//
// Holds for any file: it reads without an error into the lines the reader's
// rules give (a byte-order mark at the start is skipped, a Ctrl-Z ends the
// data, a line ends at LF, CRs are dropped, missing lines are empty), and
// writing the record and reading it back returns every text byte for byte.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_checks.h"
#include "settings/settings_record.h"
#include "test_support/scratch_folder.h"

namespace tervela::fuzz {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The record the line rules make of `bytes`, built without the reader.
TSettingsTexts ExpectedTexts(std::string_view bytes) {
  if (bytes.starts_with(kByteOrderMark)) bytes.remove_prefix(kByteOrderMark.size());
  bytes = bytes.substr(0, bytes.find('\x1a'));
  TSettingsTexts texts;
  std::size_t line = 0;
  for (char c : bytes) {
    if (line == texts.size()) break;
    if (c == '\n') {
      ++line;
    } else if (c != '\r') {
      texts[line].push_back(c);
    }
  }
  return texts;
}

}  // namespace
}  // namespace tervela::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tervela;
  using namespace tervela::fuzz;
  static const testing::ScratchFolder folder;
  const std::string loaded = folder / "loaded.set";
  const std::string saved = folder / "saved.set";
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  testing::WriteBytes(loaded, bytes);

  TSettingsTexts texts;
  Require(ReadSettingsRecord(loaded, texts).ok(), "a settings file reads");
  Require(texts == ExpectedTexts(bytes), "the lines follow the line rules");

  Require(WriteSettingsRecord(saved, texts).ok(), "the record is saved");
  TSettingsTexts reread;
  Require(ReadSettingsRecord(saved, reread).ok(), "the saved record reads");
  Require(reread == texts, "the texts round-trip byte for byte");
  return 0;
}
