#pragma once

// PROJ's C API, loaded on the first request for a system rather than at
// program start. libproj brings some sixty libraries (network, TIFF, SQLite)
// whose loading costs each run about 20 ms and 12 MB: every point-file
// conversion would pay it without asking for a system. Internal to systems/.

#include <proj.h>

#include "common/result.h"

namespace tervela::systems_internal {

// The functions of PROJ that systems/ calls.
#define TERVELA_PROJ_FUNCTIONS(X) \
  X(proj_context_create) \
  X(proj_context_destroy) \
  X(proj_context_set_search_paths) \
  X(proj_context_get_database_path) \
  X(proj_coordoperation_get_accuracy) \
  X(proj_coordoperation_get_grid_used_count) \
  X(proj_coordoperation_get_method_info) \
  X(proj_coordoperation_get_param) \
  X(proj_coordoperation_get_param_count) \
  X(proj_coordoperation_has_ballpark_transformation) \
  X(proj_create) \
  X(proj_create_operation_factory_context) \
  X(proj_create_operations) \
  X(proj_crs_get_coordinate_system) \
  X(proj_crs_get_coordoperation) \
  X(proj_crs_get_geodetic_crs) \
  X(proj_crs_info_list_destroy) \
  X(proj_cs_get_axis_count) \
  X(proj_cs_get_axis_info) \
  X(proj_destroy) \
  X(proj_ellipsoid_get_parameters) \
  X(proj_get_area_of_use) \
  X(proj_get_crs_info_list_from_database) \
  X(proj_get_crs_list_parameters_create) \
  X(proj_get_crs_list_parameters_destroy) \
  X(proj_get_ellipsoid) \
  X(proj_get_id_auth_name) \
  X(proj_get_id_code) \
  X(proj_get_name) \
  X(proj_get_prime_meridian) \
  X(proj_get_type) \
  X(proj_is_equivalent_to) \
  X(proj_list_destroy) \
  X(proj_list_get) \
  X(proj_list_get_count) \
  X(proj_log_func) \
  X(proj_log_level) \
  X(proj_operation_factory_context_destroy) \
  X(proj_operation_factory_context_set_allow_ballpark_transformations) \
  X(proj_operation_factory_context_set_area_of_interest) \
  X(proj_operation_factory_context_set_grid_availability_use) \
  X(proj_operation_factory_context_set_spatial_criterion) \
  X(proj_prime_meridian_get_parameters)

// One pointer per function, named as PROJ names it.
struct ProjLibrary {
#define TERVELA_PROJ_POINTER(name) decltype(&::name) name = nullptr;
  TERVELA_PROJ_FUNCTIONS(TERVELA_PROJ_POINTER)
#undef TERVELA_PROJ_POINTER
};

// Loads the library and resolves every function, once per program (safe
// from any thread). An error names the library and what failed.
Result<const ProjLibrary*> LoadProj();

// The library loaded by LoadProj(), which must have succeeded.
const ProjLibrary& Proj();

}  // namespace tervela::systems_internal
