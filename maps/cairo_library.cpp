#include "maps/cairo_library.h"

#include "common/runtime_library.h"

namespace tervela::maps_internal {

namespace {

const RuntimeFunctions<CairoLibrary>& Library() {
  static const RuntimeFunctions<CairoLibrary> loaded = LoadRuntimeFunctions<CairoLibrary>(
      "Cairo", TERVELA_CAIRO_LIBRARY, [](RuntimeLibrary& library, CairoLibrary& functions) {
#define TERVELA_CAIRO_RESOLVE(name) TERVELA_FIND_FUNCTION(library, functions, name, cairo_##name);
        TERVELA_CAIRO_FUNCTIONS(TERVELA_CAIRO_RESOLVE)
#undef TERVELA_CAIRO_RESOLVE
      });
  return loaded;
}

}  // namespace

Status LoadCairo() {
  if (!Library().failure.empty()) return Error::LibraryUnavailable(Library().failure);
  return {};
}

const CairoLibrary& Cairo() { return Library().functions; }

}  // namespace tervela::maps_internal
