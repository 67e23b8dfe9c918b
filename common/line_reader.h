#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "common/result.h"

namespace tervela {

// Reads a text file line by line with the program's line rules: a line ends at
// LF, a CR right before the LF is not part of it, a lone CR is dropped, a
// Ctrl-Z byte (26) ends the data, lines have no length limit, and reading past
// the end gives empty lines without an error.
class LineReader {
 public:
  // Opens an existing file for reading; the error is the file error of the open.
  static Result<LineReader> Open(const std::string& path);
  explicit LineReader(int fd);
  LineReader(LineReader&& other) noexcept;
  LineReader& operator=(LineReader&&) = delete;
  ~LineReader();

  Status ReadLine(std::string& line);
  // Closes the file; the error is that of the close.
  Status Close();

 private:
  // Makes at least one byte available; false at the end of the data.
  Result<bool> Fill();

  int fd_ = -1;
  bool at_end_ = false;
  std::size_t pos_ = 0;
  std::size_t len_ = 0;
  std::unique_ptr<char[]> buffer_;
};

}  // namespace tervela
