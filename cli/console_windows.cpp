#include <fcntl.h>
#include <io.h>
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <cstdio>
#include <cwchar>

#include "cli/console.h"

namespace tervela {

std::vector<std::string> CommandLineArguments(int, char**) {
  std::vector<std::string> arguments;
  int count = 0;
  wchar_t** const wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (wide == nullptr) return arguments;
  for (int i = 1; i < count; ++i) {
    const int length = static_cast<int>(std::wcslen(wide[i]));
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, wide[i], length, nullptr, 0, nullptr, nullptr);
    std::string argument(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide[i], length, argument.data(), size, nullptr, nullptr);
    arguments.push_back(std::move(argument));
  }
  ::LocalFree(wide);
  return arguments;
}

ConsoleSession::ConsoleSession() {
  for (FILE* stream : {stdin, stdout, stderr}) ::_setmode(::_fileno(stream), _O_BINARY);
  const UINT code_page = ::GetConsoleOutputCP();
  if (code_page != 0 && code_page != CP_UTF8 && ::SetConsoleOutputCP(CP_UTF8)) restored_code_page_ = code_page;
  // The progress line ends with "erase to the end of the line" (ESC [ K).
  const HANDLE error_output = ::GetStdHandle(STD_ERROR_HANDLE);
  DWORD mode = 0;
  if (::GetConsoleMode(error_output, &mode)) {
    ::SetConsoleMode(error_output, mode | ENABLE_PROCESSED_OUTPUT | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
  }
}

ConsoleSession::~ConsoleSession() {
  std::fflush(stdout);
  std::fflush(stderr);
  if (restored_code_page_ != 0) ::SetConsoleOutputCP(restored_code_page_);
}

}  // namespace tervela
