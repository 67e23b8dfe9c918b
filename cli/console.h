#pragma once

#include <string>
#include <vector>

namespace tervela {

// The program's arguments after its name, in UTF-8 (on Windows from the
// UTF-16 command line: `argv` there has only the ANSI code page).
std::vector<std::string> CommandLineArguments(int argc, char** argv);

// tervela-convert's standard streams set up for the life of the object.
// POSIX: a write to a pipe whose reader went away or beyond the file-size
// limit fails (EPIPE, EFBIG) instead of killing the program.
// Windows: the streams pass bytes as they are (no CR LF or Ctrl-Z
// translation), and a console shows UTF-8 text and the progress line's erase
// sequence; the console's code page is given back at the end.
class ConsoleSession {
 public:
  ConsoleSession();
  ~ConsoleSession();
  ConsoleSession(const ConsoleSession&) = delete;
  ConsoleSession& operator=(const ConsoleSession&) = delete;

 private:
  unsigned int restored_code_page_ = 0;
};

}  // namespace tervela
