// A projected system from PROJ's database as a Settings-page parameter set.
//
// The projection and the ellipsoid are read from the system's definition; the
// two datum shifts from the transformations PROJ finds from the system's
// geographic datum to WGS 84, in PROJ's own ranking for the system's area of
// use, leaving out those that need a grid and ballpark ones. Each shift takes
// the candidate the rule of ChooseOperations picks for the place: the three-
// parameter shift a geocentric translation (Molodensky's formula then
// approximates it) or one derived from a Helmert transformation, the seven-
// parameter shift a Helmert transformation (position vector or coordinate
// frame) or a translation. Method and parameter codes are EPSG's (Guidance
// Note 7-2).

#include "systems/projected_system.h"

#include <array>
#include <charconv>
#include <cstring>
#include <numbers>
#include <string>

#include "systems/derived_translation.h"
#include "systems/operation_candidates.h"
#include "systems/proj_handles.h"
#include "systems/system_texts.h"

namespace tervela {

namespace {

using namespace systems_internal;

// EPSG method codes.
constexpr int kTransverseMercator = 9807;
enum class ShiftKind { Translation, PositionVector, CoordinateFrame };
struct ShiftMethod {
  int code;
  ShiftKind kind;
};
// Each in its geographic 2D, geocentric and geographic 3D domain.
constexpr ShiftMethod kShiftMethods[] = {
    {9603, ShiftKind::Translation},     {1031, ShiftKind::Translation},
    {1035, ShiftKind::Translation},     {9606, ShiftKind::PositionVector},
    {1033, ShiftKind::PositionVector},  {1037, ShiftKind::PositionVector},
    {9607, ShiftKind::CoordinateFrame}, {1032, ShiftKind::CoordinateFrame},
    {1038, ShiftKind::CoordinateFrame},
};

// EPSG parameter codes.
constexpr int kLatitudeOfOrigin = 8801, kLongitudeOfOrigin = 8802, kScaleFactor = 8805,
              kFalseEasting = 8806, kFalseNorthing = 8807;
constexpr int kTranslationX = 8605, kRotationX = 8608, kScaleDifference = 8611;

bool IsEpsg(const char* authority) { return authority != nullptr && std::strcmp(authority, "EPSG") == 0; }

int CodeNumber(const char* code) {
  int number = 0;
  if (code != nullptr) std::from_chars(code, code + std::strlen(code), number);
  return number;
}

std::string TextOr(const char* text, const char* fallback) { return text != nullptr ? text : fallback; }

// The EPSG method code of an operation, 0 for a method of another authority.
int MethodCode(PJ_CONTEXT* context, const PJ* operation, std::string* name = nullptr) {
  const char *method_name = nullptr, *authority = nullptr, *code = nullptr;
  if (!Proj().proj_coordoperation_get_method_info(context, operation, &method_name, &authority, &code)) {
    return 0;
  }
  if (name != nullptr) *name = TextOr(method_name, "an unnamed method");
  return IsEpsg(authority) ? CodeNumber(code) : 0;
}

// The value of EPSG parameter `wanted` in radians, metres or as a ratio.
std::optional<double> Parameter(PJ_CONTEXT* context, const PJ* operation, int wanted) {
  const int count = Proj().proj_coordoperation_get_param_count(context, operation);
  for (int i = 0; i < count; ++i) {
    const char *authority = nullptr, *code = nullptr;
    double value = 0, to_si = 0;
    if (Proj().proj_coordoperation_get_param(context, operation, i, nullptr, &authority, &code, &value,
                                      nullptr, &to_si, nullptr, nullptr, nullptr, nullptr) &&
        IsEpsg(authority) && CodeNumber(code) == wanted) {
      return to_si != 0 ? value * to_si : value;
    }
  }
  return std::nullopt;
}

// The Transverse Mercator parameters of a system.
struct Projection {
  double latitude_of_origin;   // radians
  double central_meridian;     // radians east of Greenwich
  double scale_factor;
  double false_easting, false_northing;  // metres
};

// The refusal of one system: its code as typed (cut like any quoted text),
// its name once known, and why.
class Refusal {
 public:
  Refusal(std::string_view code, const PJ* crs)
      : subject_(QuotedText(code) + (crs != nullptr ? " (" + TextOr(Proj().proj_get_name(crs), "") + ")" : "")) {}
  Error operator()(std::string_view why) const {
    return Error::SystemRefused(subject_ + " " + std::string(why));
  }

 private:
  std::string subject_;
};

// Refused unless `crs` is a projected system on Transverse Mercator with
// metre axes to the east and north and longitudes from Greenwich.
Result<Projection> ReadProjection(PJ_CONTEXT* context, const PJ* crs, const Refusal& refuse) {
  switch (Proj().proj_get_type(crs)) {
    case PJ_TYPE_PROJECTED_CRS: break;
    case PJ_TYPE_GEOGRAPHIC_2D_CRS:
    case PJ_TYPE_GEOGRAPHIC_3D_CRS: return refuse("is a geographic system, not a Transverse Mercator grid");
    case PJ_TYPE_GEOCENTRIC_CRS: return refuse("is a geocentric system, not a Transverse Mercator grid");
    default: return refuse("is not a projected system");
  }
  const Object conversion(Proj().proj_crs_get_coordoperation(context, crs));
  std::string method;
  if (!conversion) return refuse("has no projection");
  if (MethodCode(context, conversion.get(), &method) != kTransverseMercator) {
    return refuse("uses the projection " + method + ", not Transverse Mercator");
  }

  const Object axes(Proj().proj_crs_get_coordinate_system(context, crs));
  const int axis_count = axes ? Proj().proj_cs_get_axis_count(context, axes.get()) : 0;
  bool east = false, north = false, metres = axis_count == 2;
  for (int i = 0; i < axis_count; ++i) {
    const char* direction = nullptr;
    double to_metres = 0;
    Proj().proj_cs_get_axis_info(context, axes.get(), i, nullptr, nullptr, &direction, &to_metres, nullptr,
                          nullptr, nullptr);
    const std::string towards = TextOr(direction, "");
    east = east || towards == "east" || towards == "East";
    north = north || towards == "north" || towards == "North";
    metres = metres && to_metres == 1.0;
  }
  if (!east || !north || !metres) return refuse("does not have east and north axes in metres");

  const Object prime_meridian(Proj().proj_get_prime_meridian(context, crs));
  double meridian = 0;
  if (!prime_meridian || !Proj().proj_prime_meridian_get_parameters(context, prime_meridian.get(),
                                                             &meridian, nullptr, nullptr) ||
      meridian != 0) {
    return refuse("counts longitudes from " + TextOr(Proj().proj_get_name(prime_meridian.get()), "?") +
                  ", not Greenwich");
  }

  const PJ* op = conversion.get();
  const std::optional<double> values[] = {
      Parameter(context, op, kLatitudeOfOrigin), Parameter(context, op, kLongitudeOfOrigin),
      Parameter(context, op, kScaleFactor), Parameter(context, op, kFalseEasting),
      Parameter(context, op, kFalseNorthing)};
  for (const std::optional<double>& value : values) {
    if (!value) return refuse("lacks a Transverse Mercator parameter");
  }
  return Projection{*values[0], *values[1], *values[2], *values[3], *values[4]};
}

// A Helmert transformation from the local datum to WGS 84 as EPSG publishes
// it: translations [m], rotations [radians] in the coordinate frame
// convention (a position-vector set has its rotations negated), scale
// difference [ratio]; a translation has zero rotations and scale.
struct LocalToWgs84 {
  std::array<double, 3> translation{}, rotation{};
  double scale_difference = 0;
};

// A transformation to WGS 84 that the Settings page can hold.
struct FoundShift {
  TDatumOperation operation;
  LocalToWgs84 helmert;
  bool translation_only = false;
};

struct Shifts {
  std::optional<FoundShift> translation, helmert;
  bool on_wgs84 = false;  // the system's datum is WGS 84 itself
  std::vector<TOperationCandidate> candidates;
  std::optional<TGeographicBox> area;  // the system's area of use
};

std::optional<TGeographicBox> AreaOfUse(PJ_CONTEXT* context, const PJ* object, std::string* name = nullptr) {
  double west = 0, south = 0, east = 0, north = 0;
  const char* area = nullptr;
  if (!Proj().proj_get_area_of_use(context, object, &west, &south, &east, &north, &area) || west < -1000) {
    return std::nullopt;
  }
  if (name != nullptr) *name = TextOr(area, "");
  return TGeographicBox{west, south, east, north};
}

// A grid-free geocentric translation or Helmert transformation, its
// parameters and area of use.
std::optional<TOperationCandidate> ReadShift(PJ_CONTEXT* context, const PJ* operation) {
  if (Proj().proj_get_type(operation) != PJ_TYPE_TRANSFORMATION ||
      Proj().proj_coordoperation_get_grid_used_count(context, operation) > 0 ||
      Proj().proj_coordoperation_has_ballpark_transformation(context, operation)) {
    return std::nullopt;
  }
  TOperationCandidate shift;
  const int method = MethodCode(context, operation, &shift.method);
  const ShiftMethod* found = nullptr;
  for (const ShiftMethod& candidate : kShiftMethods) {
    if (candidate.code == method) found = &candidate;
  }
  if (found == nullptr) return std::nullopt;

  shift.name = TextOr(Proj().proj_get_name(operation), "");
  if (const char* authority = Proj().proj_get_id_auth_name(operation, 0)) {
    shift.code = std::string(authority) + ":" + TextOr(Proj().proj_get_id_code(operation, 0), "");
  }
  if (const double accuracy = Proj().proj_coordoperation_get_accuracy(context, operation); accuracy >= 0) {
    shift.accuracy = accuracy;
  }
  shift.box = AreaOfUse(context, operation, &shift.area);
  for (int axis = 0; axis < 3; ++axis) {
    const std::optional<double> t = Parameter(context, operation, kTranslationX + axis);
    if (!t) return std::nullopt;
    shift.parameters.translation[axis] = *t;
  }
  shift.translation = found->kind == ShiftKind::Translation;
  if (shift.translation) return shift;

  const double sign = found->kind == ShiftKind::PositionVector ? -1 : 1;
  for (int axis = 0; axis < 3; ++axis) {
    const std::optional<double> r = Parameter(context, operation, kRotationX + axis);
    if (!r) return std::nullopt;
    shift.parameters.rotation[axis] = sign * *r;
  }
  const std::optional<double> scale = Parameter(context, operation, kScaleDifference);
  if (!scale) return std::nullopt;
  shift.parameters.scale_difference = *scale;
  return shift;
}

// The shift a candidate gives as `use` has it.
FoundShift ShiftOf(const TOperationCandidate& candidate, TOperationUse use) {
  FoundShift shift;
  shift.operation = {.code = candidate.code, .name = candidate.name, .accuracy = candidate.accuracy,
                     .area = candidate.area, .box = candidate.box, .use = use};
  shift.translation_only = use != TOperationUse::AsPublished || candidate.translation;
  shift.helmert = {candidate.parameters.translation, {}, 0};
  if (!shift.translation_only) {
    shift.helmert.rotation = candidate.parameters.rotation;
    shift.helmert.scale_difference = candidate.parameters.scale_difference;
  }
  return shift;
}

// The translation and Helmert transformation from the system's geographic
// datum to WGS 84 that `choice` asks for or the rule picks among the grid-free
// candidates PROJ finds over the system's area of use; a derived translation
// on the local ellipsoid (semi-major axis `a`, flattening `f`). A system on
// WGS 84 itself has a null shift.
Result<Shifts> FindShifts(PJ_CONTEXT* context, const PJ* crs, const Refusal& refuse, const TOperationChoice& choice,
                          double a, double f) {
  const Object datum(Proj().proj_crs_get_geodetic_crs(context, crs));
  const Object wgs84(Proj().proj_create(context, "EPSG:4326"));
  if (!datum || !wgs84) return refuse("has no geographic datum in PROJ's database");
  Shifts shifts;
  shifts.area = AreaOfUse(context, crs);
  if (Proj().proj_is_equivalent_to(datum.get(), wgs84.get(), PJ_COMP_EQUIVALENT_EXCEPT_AXIS_ORDER_GEOGCRS)) {
    const FoundShift null_shift{{"", "WGS 84 itself", 0.0}, {}, true};
    shifts.translation = null_shift;
    shifts.helmert = null_shift;
    shifts.on_wgs84 = true;
    return shifts;
  }

  const OperationFactory factory(Proj().proj_create_operation_factory_context(context, nullptr));
  if (!factory) return refuse("has no operations in PROJ's database");
  Proj().proj_operation_factory_context_set_allow_ballpark_transformations(context, factory.get(), 0);
  Proj().proj_operation_factory_context_set_spatial_criterion(
      context, factory.get(), PROJ_SPATIAL_CRITERION_PARTIAL_INTERSECTION);
  Proj().proj_operation_factory_context_set_grid_availability_use(
      context, factory.get(), PROJ_GRID_AVAILABILITY_IGNORED);
  const std::optional<TGeographicBox>& area = shifts.area;
  if (area) {
    Proj().proj_operation_factory_context_set_area_of_interest(context, factory.get(), area->west, area->south,
                                                        area->east, area->north);
  }
  const ObjectList operations(Proj().proj_create_operations(context, datum.get(), wgs84.get(), factory.get()));
  const int count = operations ? Proj().proj_list_get_count(operations.get()) : 0;
  for (int i = 0; i < count; ++i) {
    const Object operation(Proj().proj_list_get(context, operations.get(), i));
    if (std::optional<TOperationCandidate> shift = operation ? ReadShift(context, operation.get()) : std::nullopt) {
      shifts.candidates.push_back(std::move(*shift));
    }
  }
  if (shifts.candidates.empty()) {
    return refuse("has no transformation to WGS 84 without a grid in PROJ's database");
  }
  JudgeCandidates(shifts.candidates, area, choice.near);
  const TChosenOperations chosen =
      ChooseOperations(shifts.candidates, choice.near.has_value(), choice.three_parameter, choice.seven_parameter);
  const TOperationCandidate& seven = shifts.candidates[chosen.seven_parameter->candidate];
  shifts.helmert = ShiftOf(seven, chosen.seven_parameter->use);
  const TOperationCandidate& three = shifts.candidates[chosen.three_parameter->candidate];
  shifts.translation = ShiftOf(three, chosen.three_parameter->use);
  if (chosen.three_parameter->use == TOperationUse::Derived) {
    // Exact at the place's centre, judged at the corners of the system's area.
    const TGeographicBox over = area ? *area : three.box.value_or(TGeographicBox{});
    const TGeographicPoint centre = choice.near.value_or(Centre(over));
    const TDerivedTranslation derived = DeriveTranslation(three.parameters, a, f, centre, over);
    shifts.translation->helmert.translation = derived.translation;
    shifts.translation->operation.derived_at = centre;
    shifts.translation->operation.derived_accuracy = derived.accuracy;
  }
  return shifts;
}

}  // namespace

Result<TProjectedSystem> FillFromProj(std::string_view code, const TOperationChoice& choice) {
  const Result<Context> opened = QuietContext();
  if (!opened) return opened.error();
  const Context& context = opened.value();
  const Object crs(Proj().proj_create(context.get(), std::string(code).c_str()));
  if (!crs) return Refusal(code, nullptr)("is not a system PROJ knows");
  const Refusal refuse(code, crs.get());

  const Result<Projection> projection = ReadProjection(context.get(), crs.get(), refuse);
  if (!projection) return projection.error();
  const Object ellipsoid(Proj().proj_get_ellipsoid(context.get(), crs.get()));
  double a = 0, inverse_flattening = 0;
  if (!ellipsoid || !Proj().proj_ellipsoid_get_parameters(context.get(), ellipsoid.get(), &a, nullptr,
                                                   nullptr, &inverse_flattening)) {
    return refuse("has no ellipsoid in PROJ's database");
  }
  const double flattening = inverse_flattening != 0 ? 1 / inverse_flattening : 0;
  Result<Shifts> shifts = FindShifts(context.get(), crs.get(), refuse, choice, a, flattening);
  if (!shifts) return shifts.error();

  const Projection& tm = projection.value();
  const double central_meridian = tm.central_meridian * (180.0 / std::numbers::pi);
  const std::optional<FoundShift>& translation = shifts.value().translation;
  const std::optional<FoundShift>& seven =
      shifts.value().helmert ? shifts.value().helmert : shifts.value().translation;
  const LocalToWgs84& published = seven->helmert;
  // On WGS 84 itself the local ellipsoid is the engine's WGS84, whose
  // flattening is rounded in the 15th decimal: Da and Df are zero.
  TGridSystem grid{
      shifts.value().on_wgs84 ? TEllipsoid(0, 0) : TEllipsoid::FromAxisAndFlattening(a, flattening),
      TTransverseMercator(tm.scale_factor, tm.false_easting, tm.false_northing, central_meridian),
      TMolodenskyShift(translation ? translation->helmert.translation : std::array<double, 3>{}, 0, 0),
      THelmertShift(published.translation, published.rotation, published.scale_difference).Inverse()};

  // The engine counts the meridian arc from the equator: the latitude of
  // origin goes into the false northing, by the engine's own arc on the
  // system as the Settings page will hold it, so that converting with what
  // its texts give puts the origin at the published false northing.
  const TGridSystem shown = AsShown(grid);
  grid.projection = TTransverseMercator(
      tm.scale_factor, tm.false_easting,
      shown.projection.false_northing() -
          shown.projection.scale_factor() * shown.ellipsoid.MeridianArc(tm.latitude_of_origin),
      central_meridian);
  return TProjectedSystem{
      std::string(code),
      TextOr(Proj().proj_get_name(crs.get()), ""),
      grid,
      translation ? std::optional(translation->operation) : std::nullopt,
      seven->operation,
      std::move(shifts.value().candidates),
      shifts.value().area,
  };
}

}  // namespace tervela
