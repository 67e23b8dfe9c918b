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

Result<std::vector<TSystemSummary>> FindTransverseMercatorSystems(std::string_view text) {
  std::vector<TSystemSummary> found;
  const Result<systems_internal::Context> opened = systems_internal::QuietContext();
  if (!opened) return opened.error();
  const systems_internal::Context& context = opened.value();
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

std::optional<TSystemSummary> LookUpCode(std::string_view code) {
  const Result<systems_internal::Context> context = systems_internal::QuietContext();
  if (!context) return std::nullopt;
  const systems_internal::Object object(Proj().proj_create(context.value().get(), std::string(code).c_str()));
  if (!object) return std::nullopt;
  TSystemSummary summary{std::string(code), "", ""};
  if (const char* name = Proj().proj_get_name(object.get())) summary.name = name;
  const char* area = nullptr;
  if (Proj().proj_get_area_of_use(context.value().get(), object.get(), nullptr, nullptr, nullptr, nullptr,
                                  &area) &&
      area != nullptr) {
    summary.area = area;
  }
  return summary;
}

}  // namespace tervela
