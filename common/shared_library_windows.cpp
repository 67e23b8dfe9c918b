#include <windows.h>

#include <string>

#include "common/shared_library.h"

namespace tervela {

namespace {

std::string Utf8(const std::wstring& wide) {
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr,
                                         0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), narrow.data(), size, nullptr,
                        nullptr);
  return narrow;
}

// The file of `module` (the program for null).
std::wstring ModuleFile(HMODULE module) {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD size = ::GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
    if (size == 0) return {};
    if (size < path.size()) return path.substr(0, size);
    path.resize(path.size() * 2);
  }
}

// The folder part of `file`, with its final backslash.
std::wstring FolderOf(const std::wstring& file) { return file.substr(0, file.find_last_of(L"\\/") + 1); }

// Windows' text for `error`, without its line end.
std::string MessageOf(DWORD error) {
  wchar_t* text = nullptr;
  const DWORD size = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring message(text != nullptr ? text : L"", size);
  ::LocalFree(text);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r')) message.pop_back();
  return message.empty() ? "error " + std::to_string(error) : Utf8(message);
}

}  // namespace

SharedLibrary LoadSharedLibrary(const std::string& file_name) {
  SharedLibrary library;
  const std::wstring name(file_name.begin(), file_name.end());  // a library's name is ASCII
  const std::wstring beside_program = FolderOf(ModuleFile(nullptr)) + name;
  if (::GetFileAttributesW(beside_program.c_str()) != INVALID_FILE_ATTRIBUTES) {
    // The library's own dependencies are looked for in its folder first.
    library.handle = ::LoadLibraryExW(beside_program.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  } else {
    library.handle = ::LoadLibraryW(name.c_str());
  }
  if (library.handle == nullptr) library.failure = file_name + ": " + MessageOf(::GetLastError());
  return library;
}

void* FindSymbol(const SharedLibrary& library, const char* name) {
  return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(library.handle), name));
}

std::string LibraryFolder(const SharedLibrary& library) {
  const std::wstring folder = FolderOf(ModuleFile(static_cast<HMODULE>(library.handle)));
  return Utf8(folder.substr(0, folder.empty() ? 0 : folder.size() - 1));
}

}  // namespace tervela
