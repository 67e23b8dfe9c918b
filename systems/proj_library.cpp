#include "systems/proj_library.h"

#include <string>

#include "common/shared_library.h"
#include "io/files.h"

namespace tervela::systems_internal {

namespace {

// The library, or why it could not be loaded.
struct Loaded {
  ProjLibrary library;
  std::string failure;
};

Loaded Load() {
  Loaded loaded;
  const SharedLibrary library = LoadSharedLibrary(TERVELA_PROJ_LIBRARY);
  if (library.handle == nullptr) {
    loaded.failure = "PROJ could not be loaded: " + library.failure;
    return loaded;
  }
#define TERVELA_PROJ_RESOLVE(name)                                                       \
  loaded.library.name = reinterpret_cast<decltype(&::name)>(FindSymbol(library, #name)); \
  if (loaded.library.name == nullptr && loaded.failure.empty()) {                       \
    loaded.failure = "PROJ's library " TERVELA_PROJ_LIBRARY " lacks " #name;            \
  }
  TERVELA_PROJ_FUNCTIONS(TERVELA_PROJ_RESOLVE)
#undef TERVELA_PROJ_RESOLVE
  // Where PROJ ships with the program (Windows), its database proj.db lies
  // beside its library: every context made later starts from the default
  // one's search path. Elsewhere PROJ finds its own.
  const std::string folder = LibraryFolder(library);
  if (loaded.failure.empty() && !folder.empty() && io::RegularFileSize(folder + "/proj.db")) {
    const char* const paths[] = {folder.c_str()};
    loaded.library.proj_context_set_search_paths(nullptr, 1, paths);
  }
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
