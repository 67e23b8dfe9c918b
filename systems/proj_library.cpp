#include "systems/proj_library.h"

#include "common/runtime_library.h"

namespace tervela::systems_internal {

namespace {

const RuntimeFunctions<ProjLibrary>& Library() {
  // Loaded once per program; a static's initialisation is safe from any thread.
  static const RuntimeFunctions<ProjLibrary> loaded = LoadRuntimeFunctions<ProjLibrary>(
      "PROJ", TERVELA_PROJ_LIBRARY, [](RuntimeLibrary& library, ProjLibrary& functions) {
#define TERVELA_PROJ_RESOLVE(name) TERVELA_FIND_FUNCTION(library, functions, name, name);
        TERVELA_PROJ_FUNCTIONS(TERVELA_PROJ_RESOLVE)
#undef TERVELA_PROJ_RESOLVE
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
