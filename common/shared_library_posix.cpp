#include <dlfcn.h>

#include "common/shared_library.h"

namespace tervela {

SharedLibrary LoadSharedLibrary(const std::string& file_name) {
  SharedLibrary library;
  library.handle = ::dlopen(file_name.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library.handle == nullptr) library.failure = ::dlerror();
  return library;
}

void* FindSymbol(const SharedLibrary& library, const char* name) { return ::dlsym(library.handle, name); }

std::string LibraryFolder(const SharedLibrary&) { return {}; }

}  // namespace tervela
