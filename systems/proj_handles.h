#pragma once

// Owning handles for the objects of PROJ's C API, so that every exit path
// releases them. Internal to systems/.

#include "systems/proj_library.h"

#include <memory>

namespace tervela::systems_internal {

struct ContextRelease {
  void operator()(PJ_CONTEXT* context) const { Proj().proj_context_destroy(context); }
};
struct ObjectRelease {
  void operator()(PJ* object) const { Proj().proj_destroy(object); }
};
struct ListRelease {
  void operator()(PJ_OBJ_LIST* list) const { Proj().proj_list_destroy(list); }
};
struct FactoryRelease {
  void operator()(PJ_OPERATION_FACTORY_CONTEXT* factory) const {
    Proj().proj_operation_factory_context_destroy(factory);
  }
};

using Context = std::unique_ptr<PJ_CONTEXT, ContextRelease>;
using Object = std::unique_ptr<PJ, ObjectRelease>;
using ObjectList = std::unique_ptr<PJ_OBJ_LIST, ListRelease>;
using OperationFactory = std::unique_ptr<PJ_OPERATION_FACTORY_CONTEXT, FactoryRelease>;

// A context of its own for one request, with PROJ's log silenced: what goes
// wrong is reported through the request's Error instead. Fails when PROJ
// cannot be loaded (LoadProj tells why), gives no context, or finds no
// database: without its data PROJ knows no system at all, which is what the
// user has to hear, not that one code is unknown.
inline Result<Context> QuietContext() {
  if (Result<const ProjLibrary*> proj = LoadProj(); !proj) return proj.error();
  Context context(Proj().proj_context_create());
  if (!context) return Error::SystemRefused("PROJ could not start");
  Proj().proj_log_level(context.get(), PJ_LOG_NONE);
  // The level alone leaves "Cannot find proj.db" on standard error.
  Proj().proj_log_func(context.get(), nullptr, [](void*, int, const char*) {});
  if (Proj().proj_context_get_database_path(context.get()) == nullptr) {
    return Error::SystemRefused("PROJ's data cannot be found: no proj.db where PROJ_DATA points or PROJ "
                                "installed it");
  }
  return context;
}

}  // namespace tervela::systems_internal
