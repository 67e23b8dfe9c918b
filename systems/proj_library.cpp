#include "systems/proj_library.h"

#include <dlfcn.h>

#include <string>

namespace tervela::systems_internal {

namespace {

// The library, or why it could not be loaded.
struct Loaded {
  ProjLibrary library;
  std::string failure;
};

Loaded Load() {
  Loaded loaded;
  // Never closed: the pointers stay valid for the life of the program.
  void* const handle = ::dlopen(TERVELA_PROJ_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    loaded.failure = std::string("PROJ could not be loaded: ") + ::dlerror();
    return loaded;
  }
#define TERVELA_PROJ_RESOLVE(name)                                                     \
  loaded.library.name = reinterpret_cast<decltype(&::name)>(::dlsym(handle, #name)); \
  if (loaded.library.name == nullptr && loaded.failure.empty()) {                     \
    loaded.failure = "PROJ's library " TERVELA_PROJ_LIBRARY " lacks " #name;          \
  }
  TERVELA_PROJ_FUNCTIONS(TERVELA_PROJ_RESOLVE)
#undef TERVELA_PROJ_RESOLVE
  return loaded;
}

const Loaded& Library() {
  static const Loaded loaded = Load();
  return loaded;
}

}  // namespace

Result<const ProjLibrary*> LoadProj() {
  const Loaded& loaded = Library();
  if (!loaded.failure.empty()) return Error::SystemRefused(loaded.failure);
  return &loaded.library;
}

const ProjLibrary& Proj() { return Library().library; }

}  // namespace tervela::systems_internal
