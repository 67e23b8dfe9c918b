#pragma once

// Shared libraries loaded at run time, on their first use rather than at
// program start, so that a run that does not need one does not pay for it.
// One implementation per system (shared_library_posix.cpp,
// shared_library_windows.cpp; CMake picks one).

#include <string>

namespace tervela {

struct SharedLibrary {
  void* handle = nullptr;  // null when loading failed
  std::string failure;     // the system's reason, when it failed
};

// Loads the library file `file_name` for the life of the program (it is
// never unloaded, so its functions stay valid): elsewhere by the system's
// search, `file_name` being the library's soname; on Windows from the
// program's own folder, the libraries it needs from there too, or where that
// has no such file (a build tree, the tests) by Windows' search.
SharedLibrary LoadSharedLibrary(const std::string& file_name);

// The address of the function `name` in `library`; null where it has none.
void* FindSymbol(const SharedLibrary& library, const char* name);

// The folder of the loaded library's file (UTF-8, no final separator), where
// its data files may lie beside it; empty where the system's search placed
// it (POSIX).
std::string LibraryFolder(const SharedLibrary& library);

}  // namespace tervela
