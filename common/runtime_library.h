#pragma once

// A shared library opened when a feature first needs it rather than at
// program start, so that a run that does not use the feature pays nothing
// for the library and the many it brings.

#include <string>

namespace tervela {

// An opened library. It is never closed: the functions found in it stay
// valid for the life of the program.
class RuntimeLibrary {
 public:
  // Opens the library by its file name ("libcairo.so.2"), found where the
  // system finds libraries; on Windows ("libcairo-2.dll") first in the
  // program's own folder, with the libraries it needs from there too.
  // One implementation per system, chosen by CMake (runtime_library_dl.cpp,
  // runtime_library_windows.cpp).
  explicit RuntimeLibrary(const char* file_name);

  bool loaded() const { return handle_ != nullptr; }
  // Why the library or a function could not be had; empty while all went well.
  const std::string& failure() const { return failure_; }

  // The address of the function `name`, or null, with failure() naming it
  // (the first missing function only).
  void* Find(const char* name);

  // The folder the library was opened from where it ships with the program
  // (Windows), its data files lying beside it (UTF-8, no final separator);
  // empty where the system's search placed it.
  std::string Folder() const;

 private:
  const char* file_name_;
  void* handle_ = nullptr;
  std::string failure_;
};

// The function table `Table` of a feature, filled from its library, or why
// it could not be: "FEATURE could not be loaded: REASON".
template <class Table>
struct RuntimeFunctions {
  Table functions;
  std::string failure;
};

// Opens `file_name` and has `fill(library, table)` find the table's
// functions (with TERVELA_FIND_FUNCTION).
template <class Table, class Fill>
RuntimeFunctions<Table> LoadRuntimeFunctions(const char* feature, const char* file_name, Fill fill) {
  RuntimeFunctions<Table> loaded;
  RuntimeLibrary library(file_name);
  if (library.loaded()) fill(library, loaded.functions);
  if (!library.failure().empty()) loaded.failure = std::string(feature) + " could not be loaded: " + library.failure();
  return loaded;
}

}  // namespace tervela

// Fills `table.member` with the function `function` of `library`, typed as the
// library's header declares it.
#define TERVELA_FIND_FUNCTION(library, table, member, function) \
  (table).member = reinterpret_cast<decltype(&::function)>((library).Find(TERVELA_STRING(function)))
// The name after macro expansion: ICU's headers rename every function to its
// versioned symbol (unum_open to unum_open_72).
#define TERVELA_STRING(name) TERVELA_STRING_OF(name)
#define TERVELA_STRING_OF(name) #name
