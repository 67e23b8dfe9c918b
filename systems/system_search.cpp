#include "systems/system_search.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>

#include "systems/proj_handles.h"

namespace tervela {

using systems_internal::Proj;

namespace {

struct InfoListRelease {
  void operator()(PROJ_CRS_INFO** list) const { Proj().proj_crs_info_list_destroy(list); }
};

bool SameLetter(char a, char b) {
  return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
}

bool Holds(std::string_view name, std::string_view text) {
  return std::search(name.begin(), name.end(), text.begin(), text.end(), SameLetter) != name.end();
}

}  // namespace

std::vector<TSystemSummary> FindTransverseMercatorSystems(std::string_view text) {
  std::vector<TSystemSummary> found;
  const systems_internal::Context context = systems_internal::QuietContext();
  if (!context) return found;
  const PJ_TYPE projected = PJ_TYPE_PROJECTED_CRS;
  std::unique_ptr<PROJ_CRS_LIST_PARAMETERS, void (*)(PROJ_CRS_LIST_PARAMETERS*)> parameters(
      Proj().proj_get_crs_list_parameters_create(), Proj().proj_get_crs_list_parameters_destroy);
  if (!parameters) return found;
  parameters->types = &projected;
  parameters->typesCount = 1;
  int count = 0;
  const std::unique_ptr<PROJ_CRS_INFO*, InfoListRelease> list(
      Proj().proj_get_crs_info_list_from_database(context.get(), nullptr, parameters.get(), &count));
  for (int i = 0; list && i < count; ++i) {
    const PROJ_CRS_INFO& info = *list.get()[i];
    if (info.deprecated || info.projection_method_name == nullptr ||
        std::strcmp(info.projection_method_name, "Transverse Mercator") != 0 ||
        info.name == nullptr || !Holds(info.name, text)) {
      continue;
    }
    std::string code = std::string(info.auth_name) + ":" + info.code;
    const std::string area = info.area_name != nullptr ? info.area_name : "";
    // A system used in several areas comes once per area, one after another.
    if (!found.empty() && found.back().code == code) {
      found.back().area += "; " + area;
    } else {
      found.push_back({std::move(code), info.name, area});
    }
  }
  return found;
}

}  // namespace tervela
