#include "systems/projected_system.h"

#include <gtest/gtest.h>
#include <proj.h>

#include <array>
#include <cstdlib>
#include <optional>
#include <ostream>
#include <string>

#include "engine/engine.h"
#include "settings/system_values.h"
#include "systems/system_search.h"
#include "systems/system_texts.h"
#include "test_support/case_name.h"
#include "test_support/system.h"

namespace tervela {
namespace {

// A system as EPSG publishes it, used near a place or over its whole area.
// `seven` is the position-vector set from the local datum to WGS 84 (Tx Ty Tz
// m, Rx Ry Rz arc-seconds, s ppm), a translation's with zero rotations and
// scale; `three` the geocentric translation, unless the three-parameter
// operation is a Helmert transformation the translation is derived from.
struct SystemCase {
  const char* code;
  const char* three_operation;  // "" for none
  const char* seven_operation;
  std::array<double, 3> three;
  std::array<double, 7> seven;
  double a, inverse_flattening;  // the local ellipsoid
  double latitude_of_origin, central_meridian, scale_factor, false_easting, false_northing;
  double south, north;  // a band of latitudes in the area of use [degrees]
  double spread = 3;    // the longitudes compared either side of the central meridian [degrees]
  std::optional<TGeographicPoint> near = std::nullopt;
};

const SystemCase kSystems[] = {
    // No translation: derived at the area's centre, 51.2N 9E.
    {"EPSG:31467", "EPSG:1777", "EPSG:1777", {}, {598.1, 73.7, 418.2, 0.202, 0.045, -2.455, 6.7},
     6377397.155, 299.1528128, 0, 9, 1, 3500000, 0, 47.5, 52.5, 1.5},
    // 13 arc-seconds of rotation: a negated set is 46 mm off its inverse here.
    {"EPSG:8678", "EPSG:3962", "EPSG:3964", {682, -203, 480},
     {551.7, 162.9, 467.9, 6.04, 1.96, -11.38, -4.82}, 6377397.155, 299.1528128, 0, 18, 0.9999,
     6500000, 0, 42.5, 46.5, 3, TGeographicPoint{43.86, 18.41}},
    // Offshore Norway, west of the 7 m translation of its onshore: the North
    // Sea's Helmert transformation, which covers more of zone 32 than
    // Norway's offshore one of the same accuracy.
    {"EPSG:23032", "EPSG:1133", "EPSG:1311", {-87, -98, -121}, {-89.5, -93.8, -123.1, 0, 0, -0.156, 1.2},
     6378388, 297, 0, 9, 0.9996, 500000, 0, 40, 60, 3, TGeographicPoint{58, 4.5}},
    // Cuba's Helmert transformation and Canada's translation cover more of
    // the zone than the CONUS translation, which holds Ohio.
    {"EPSG:26717", "EPSG:1173", "EPSG:1173", {-8, 160, 176}, {-8, 160, 176, 0, 0, 0, 0}, 6378206.4,
     294.9786982138982, 0, -81, 0.9996, 500000, 0, 38, 42, 3, TGeographicPoint{40, -81}},
    // Vienna and Rome: Western Europe's translations, no Helmert transformation.
    {"EPSG:23033", "EPSG:1134", "EPSG:1134", {-87, -96, -120}, {-87, -96, -120, 0, 0, 0, 0}, 6378388, 297, 0,
     15, 0.9996, 500000, 0, 47, 49, 3, TGeographicPoint{48.21, 16.37}},
    {"EPSG:23033", "EPSG:1133", "EPSG:1133", {-87, -98, -121}, {-87, -98, -121, 0, 0, 0, 0}, 6378388, 297, 0,
     15, 0.9996, 500000, 0, 41, 43, 3, TGeographicPoint{41.9, 12.5}},
    {"EPSG:27700", "EPSG:1195", "EPSG:1314", {375, -111, 431},
     {446.448, -125.157, 542.06, 0.15, 0.247, 0.842, -20.489}, 6377563.396, 299.3249646, 49, -2,
     0.9996012717, 400000, -100000, 50, 58.5},
    {"EPSG:25832", "EPSG:1149", "EPSG:1149", {}, {}, 6378137, 298.257222101, 0, 9, 0.9996,
     500000, 0, 40, 60},
    // WGS 84 itself: no operation, and the engine's own ellipsoid (Da, Df 0).
    {"EPSG:32633", "", "", {}, {}, 6378137, 298.257223563, 0, 15, 0.9996, 500000, 0, 40, 60},
};

void PrintTo(const SystemCase& c, std::ostream* out) { *out << c.code; }

// The system as the Settings page reads its texts back.
TGridSystem TypedSystem(const TProjectedSystem& system) {
  const Result<TGridSystem> typed = ReadGridSystem(SystemTexts(system.grid, '.'), '.');
  EXPECT_TRUE(typed.ok());
  return typed.value();
}

class FilledSystem : public ::testing::TestWithParam<SystemCase> {};

TEST_P(FilledSystem, HoldsEpsgValues) {
  const SystemCase& c = GetParam();
  const Result<TProjectedSystem> filled = FillFromProj(c.code, {c.near, {}, {}});
  ASSERT_TRUE(filled.ok()) << filled.error().message();
  const TProjectedSystem& system = filled.value();
  EXPECT_EQ(system.three_parameter->code, c.three_operation);
  EXPECT_EQ(system.seven_parameter->code, c.seven_operation);
  const bool derived = system.three_parameter->use == TOperationUse::Derived;
  if (c.near) {
    EXPECT_TRUE(Holds(system.three_parameter->box.value(), *c.near) &&
                Holds(system.seven_parameter->box.value(), *c.near));
  }
  const TSystemValues v = SettingsPageValues(TypedSystem(system));
  using F = TSystemField;
  for (int i = 0; i < 3 && !derived; ++i) EXPECT_EQ(v[static_cast<F>(i)], c.three[i]) << i;
  EXPECT_NEAR(v[F::Da], 6378137 - c.a, 1e-6);
  EXPECT_NEAR(v[F::Df], 1e4 * (1 / 298.257223563 - 1 / c.inverse_flattening), 1e-9);
  if (*c.seven_operation == '\0') {
    EXPECT_EQ(SystemTexts(TypedSystem(system), '.')[4], "0");
  }
  EXPECT_EQ(v[F::ScaleFactor], c.scale_factor);
  EXPECT_EQ(v[F::CentralMeridian], c.central_meridian);
  // Inverted, to first order: translations and scale change sign, the
  // position-vector rotations are those of the coordinate frame form back.
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(v[static_cast<F>(11 + i)], -c.seven[i], 0.05) << i;
  for (int i = 3; i < 6; ++i) EXPECT_NEAR(v[static_cast<F>(11 + i)], c.seven[i], 1e-3) << i;
  EXPECT_NEAR(v[F::K], -c.seven[6], 1e-3);
  // AsShown is the system its texts read back as.
  const TSystemValues shown = SettingsPageValues(AsShown(system.grid));
  for (int i = 0; i < kSystemTextCount; ++i) EXPECT_EQ(shown[static_cast<F>(i)], v[static_cast<F>(i)]) << i;
  // A run's CSV names the operation each method applies, per system; a
  // system on WGS 84 applies none, which it names so.
  const bool on_wgs84 = *c.seven_operation == '\0';
  const std::string seven = on_wgs84 ? "WGS 84 itself," : std::string(c.seven_operation) + " ";
  const std::string three = derived ? std::string("derived from ") + c.three_operation + " at "
                            : *c.three_operation ? std::string(c.three_operation) + " " : seven;
  EXPECT_TRUE(RunOperationsText(TShiftMethod::ThreeParameter, &system, nullptr).starts_with("TM - A: " + three));
  const std::string both = RunOperationsText(TShiftMethod::SevenParameter, &system, &system);
  EXPECT_TRUE(both.starts_with("TM - A: " + seven) && both.find("; TM - B: " + seven) != std::string::npos)
      << both;

  // The false origin, latitude of origin folded in, is where the engine puts the origin.
  TWorkingPoint origin{.Longitude = c.central_meridian, .Latitude = c.latitude_of_origin};
  ASSERT_TRUE(TransverseMercator(TypedSystem(system), origin).ok());
  EXPECT_NEAR(origin.Northing, c.false_northing, 1e-6);
  EXPECT_NEAR(origin.Easting, c.false_easting, 1e-6);
}

// WGS84 at 200 m to the grid through PROJ's own operation, the oracle.
std::optional<PJ_COORD> ProjGrid(PJ_CONTEXT* context, const SystemCase& c, const char* operation,
                                 double latitude, double longitude) {
  PJ* crs = proj_create(context, c.code);
  PJ* datum = proj_crs_get_geodetic_crs(context, crs);
  PJ* projection = proj_create_crs_to_crs_from_pj(context, datum, crs, nullptr, nullptr);
  const std::string code = operation;
  PJ* shift = proj_create_from_database(context, code.substr(0, code.find(':')).c_str(),
                                        code.substr(code.find(':') + 1).c_str(),
                                        PJ_CATEGORY_COORDINATE_OPERATION, 0, nullptr);
  if (shift == nullptr) return std::nullopt;
  PJ* shift_lon_lat = proj_normalize_for_visualization(context, shift);
  PJ* projection_east_north = proj_normalize_for_visualization(context, projection);
  PJ_COORD local = proj_trans(shift_lon_lat, PJ_INV, proj_coord(longitude, latitude, 200, 0));
  const PJ_COORD grid = proj_trans(projection_east_north, PJ_FWD, local);
  const bool failed = proj_errno(shift_lon_lat) != 0 || proj_errno(projection_east_north) != 0;
  for (PJ* object : {crs, datum, projection, shift, shift_lon_lat, projection_east_north}) {
    proj_destroy(object);
  }
  if (failed) return std::nullopt;
  return grid;
}

TEST_P(FilledSystem, ConvertsAsProj) {
  const SystemCase& c = GetParam();
  const TProjectedSystem filled = FillFromProj(c.code, {c.near, {}, {}}).value();
  const TGridSystem system = TypedSystem(filled);
  PJ_CONTEXT* context = proj_context_create();
  // Molodensky approximates the full geocentric translation; a derived one
  // is off the Helmert transformation by what it says.
  const std::pair<TShiftMethod, const char*> methods[] = {{TShiftMethod::SevenParameter, c.seven_operation},
                                                          {TShiftMethod::ThreeParameter, c.three_operation}};
  for (const auto& [method, operation] : methods) {
    if (*operation == '\0') continue;
    const double tolerance = method == TShiftMethod::SevenParameter ? 0.015
                             : 0.05 + (filled.three_parameter->use == TOperationUse::Derived
                                           ? filled.three_parameter->derived_accuracy
                                           : 0);
    for (const double latitude : {c.south, (c.south + c.north) / 2, c.north}) {
      for (const double offset : {-c.spread, 0.0, c.spread}) {
        const double longitude = c.central_meridian + offset;
        TWorkingPoint point{.Longitude = longitude, .Latitude = latitude};
        ASSERT_TRUE(GeographicToGrid(system, method, point).ok());
        const std::optional<PJ_COORD> grid = ProjGrid(context, c, operation, latitude, longitude);
        ASSERT_TRUE(grid.has_value()) << operation;
        EXPECT_NEAR(point.Easting, grid->enu.e, tolerance) << operation << " " << latitude << " " << offset;
        EXPECT_NEAR(point.Northing, grid->enu.n, tolerance) << operation << " " << latitude << " " << offset;
      }
    }
  }
  proj_context_destroy(context);
}

INSTANTIATE_TEST_SUITE_P(Systems, FilledSystem, ::testing::ValuesIn(kSystems),
                         [](const auto& info) { return testing::CaseName(info.index, info.param.code); });

struct RefusalCase {
  const char* code;
  const char* message;
};

void PrintTo(const RefusalCase& c, std::ostream* out) { *out << c.code; }

class RefusedSystem : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(RefusedSystem, NamesTheCode) {
  const Result<TProjectedSystem> filled = FillFromProj(GetParam().code);
  ASSERT_FALSE(filled.ok());
  EXPECT_EQ(filled.error().kind(), ErrorKind::Refused);
  EXPECT_EQ(filled.error().message(), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Systems, RefusedSystem,
    ::testing::Values(
        RefusalCase{"EPSG:4326", "EPSG:4326 (WGS 84) is a geographic system, not a Transverse Mercator grid"},
        RefusalCase{"EPSG:2056", "EPSG:2056 (CH1903+ / LV95) uses the projection Hotine Oblique Mercator "
                                 "(variant B), not Transverse Mercator"},
        RefusalCase{"EPSG:2053", "EPSG:2053 (Hartebeesthoek94 / Lo29) uses the projection Transverse "
                                 "Mercator (South Orientated), not Transverse Mercator"},
        RefusalCase{"EPSG:99999", "EPSG:99999 is not a system PROJ knows"}),
    [](const auto& info) { return testing::CaseName(info.index, info.param.code); });

// Without its database PROJ knows no system: that is what every request says.
TEST(ProjData, MissingIsSaid) {
  const char* kept = std::getenv("PROJ_DATA");
  const std::string before = kept != nullptr ? kept : "";
  testing::SetEnvironment("PROJ_DATA", "/nonexistent");
  const std::string said = "PROJ's data cannot be found: no proj.db where PROJ_DATA points or PROJ installed it";
  EXPECT_EQ(FillFromProj("EPSG:31467").error().message(), said);
  EXPECT_EQ(FindTransverseMercatorSystems("Gauss").error().message(), said);
  testing::SetEnvironment("PROJ_DATA", kept != nullptr ? before.c_str() : nullptr);
}

}  // namespace
}  // namespace tervela
