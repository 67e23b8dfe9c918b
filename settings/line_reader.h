#pragma once

#include <string>

#include "common/result.h"
#include "io/buffered_reader.h"

namespace tervela {

// Reads a text file line by line with the program's line rules: a line ends at
// LF, a CR right before the LF is not part of it, a lone CR is dropped, a
// Ctrl-Z byte (26) ends the data, lines have no length limit, and reading past
// the end gives empty lines without an error.
class LineReader {
 public:
  // Opens an existing file for reading; the error is the file error of the open.
  static Result<LineReader> Open(const std::string& path);
  explicit LineReader(io::FileDescriptor file);

  Status ReadLine(std::string& line);
  // Closes the file; the error is that of the close.
  Status Close() { return input_.Close(); }

 private:
  io::BufferedReader input_;
};

}  // namespace tervela
