#include "systems/proj_library.h"

#include <string>

#include "common/runtime_library.h"
#include "io/files.h"

namespace tervela::systems_internal {

namespace {

const RuntimeFunctions<ProjLibrary>& Library() {
  // Loaded once per program; a static's initialisation is safe from any thread.
  static const RuntimeFunctions<ProjLibrary> loaded = LoadRuntimeFunctions<ProjLibrary>(
      "PROJ", TERVELA_PROJ_LIBRARY, [](RuntimeLibrary& library, ProjLibrary& functions) {
#define TERVELA_PROJ_RESOLVE(name) TERVELA_FIND_FUNCTION(library, functions, name, name);
        TERVELA_PROJ_FUNCTIONS(TERVELA_PROJ_RESOLVE)
#undef TERVELA_PROJ_RESOLVE
        // Where PROJ ships with the program (Windows), its database proj.db
        // lies beside its library: every context made later starts from the
        // default one's search path. Elsewhere PROJ finds its own.
        const std::string folder = library.Folder();
        if (library.failure().empty() && !folder.empty() && io::RegularFileSize(folder + "/proj.db")) {
          const char* const paths[] = {folder.c_str()};
          functions.proj_context_set_search_paths(nullptr, 1, paths);
        }
      });
  return loaded;
}

}  // namespace

Result<const ProjLibrary*> LoadProj() {
  const auto& loaded = Library();
  if (!loaded.failure.empty()) return Error::SystemRefused(loaded.failure);
  return &loaded.functions;
}

const ProjLibrary& Proj() { return Library().functions; }

}  // namespace tervela::systems_internal
