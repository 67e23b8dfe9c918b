// RuntimeLibrary on Windows' loader.

#include <windows.h>

#include <string>

#include "common/runtime_library.h"

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

HMODULE Open(const char* file_name) {
  const std::wstring name(file_name, file_name + std::char_traits<char>::length(file_name));  // ASCII
  const std::wstring beside_program = FolderOf(ModuleFile(nullptr)) + name;
  if (::GetFileAttributesW(beside_program.c_str()) != INVALID_FILE_ATTRIBUTES) {
    // The library's own dependencies are looked for in its folder first.
    return ::LoadLibraryExW(beside_program.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  }
  // A build tree or the tests: Windows' search (the PATH).
  return ::LoadLibraryW(name.c_str());
}

}  // namespace

RuntimeLibrary::RuntimeLibrary(const char* file_name) : file_name_(file_name), handle_(Open(file_name)) {
  if (handle_ == nullptr) failure_ = std::string(file_name) + ": " + MessageOf(::GetLastError());
}

void* RuntimeLibrary::Find(const char* name) {
  if (handle_ == nullptr) return nullptr;
  void* const address = reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(handle_), name));
  if (address == nullptr && failure_.empty()) failure_ = std::string(file_name_) + " lacks " + name;
  return address;
}

std::string RuntimeLibrary::Folder() const {
  if (handle_ == nullptr) return {};
  const std::wstring folder = FolderOf(ModuleFile(static_cast<HMODULE>(handle_)));
  return Utf8(folder.substr(0, folder.empty() ? 0 : folder.size() - 1));
}

}  // namespace tervela
