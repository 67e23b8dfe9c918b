#pragma once

#include <cstddef>
#include <string>

#include "common/result.h"
#include "io/buffered_reader.h"

namespace tervela {

// Reads a text file line by line with the program's line rules: a line ends at
// LF, a CR right before the LF is not part of it, a lone CR is dropped, a
// Ctrl-Z byte (26) ends the data, and reading past the end gives empty lines
// without an error. A line longer than kMaxLineLength ends the reading with
// Error::SettingsLineTooLong() once that many bytes are held; the rest of it is
// never read.
class LineReader {
 public:
  // Opens an existing file for reading; the error is the file error of the open.
  static Result<LineReader> Open(const std::string& path);
  explicit LineReader(io::FileDescriptor file);

  // 16 MiB: far beyond any parameter text or name, and little enough memory
  // that an endless line (a device, a damaged file) does no harm.
  static constexpr std::size_t kMaxLineLength = std::size_t{16} << 20;

  Status ReadLine(std::string& line);
  // Closes the file; the error is that of the close.
  Status Close() { return input_.Close(); }

 private:
  io::BufferedReader input_;
};

}  // namespace tervela
