// Fuzzes the parameter set and both conversion chains: the input's first
// eighteen lines are the texts of one system (missing lines are empty); the
// set is read with '.' and with ',' and, when it reads, a few points go
// through GeographicToGrid and GridToGeographic with both shift methods.
//
// Holds for any texts: a read fails only with "'t' is not a valid floating
// point value" for one of the texts or with an overflow; a chain either
// leaves finite values in every field of the point or fails with a
// floating-point fault or the inversion's failure.

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/engine.h"
#include "settings/system_values.h"
#include "fuzz/fuzz_checks.h"

namespace tervela::fuzz {
namespace {

// Latitude, longitude in degrees: inland, on the equator at the meridian of
// Greenwich, near a pole and the antimeridian.
constexpr std::array<std::array<double, 2>, 3> kGeographicPoints = {{
    {45.815, 15.982}, {0, 0}, {-89.9, 179.9}}};
// Northing, easting in metres: inland, the origin, far outside any zone.
constexpr std::array<std::array<double, 2>, 3> kGridPoints = {{
    {5075003.293, 5576687.621}, {0, 0}, {1e7, -1e6}}};
constexpr std::array<TShiftMethod, 2> kMethods = {TShiftMethod::ThreeParameter,
                                                  TShiftMethod::SevenParameter};

void RequireFinitePoint(const TWorkingPoint& p) {
  Require(std::isfinite(p.Latitude) && std::isfinite(p.Longitude) && std::isfinite(p.Northing) &&
              std::isfinite(p.Easting),
          "a converted point is finite");
}

void CheckChain(const Status& status, const TWorkingPoint& point) {
  if (status.ok()) {
    RequireFinitePoint(point);
  } else {
    Require(status.error().kind() != ErrorKind::NotANumber &&
                status.error().kind() != ErrorKind::File && IsProductError(status.error(), {}, {}),
            "a chain fails only with an arithmetic error");
  }
}

void CheckChains(const TGridSystem& system) {
  for (TShiftMethod method : kMethods) {
    for (const auto& [latitude, longitude] : kGeographicPoints) {
      TWorkingPoint point;
      point.Latitude = latitude;
      point.Longitude = longitude;
      CheckChain(GeographicToGrid(system, method, point), point);
    }
    for (const auto& [northing, easting] : kGridPoints) {
      TWorkingPoint point;
      point.TargetNorthing = northing;
      point.TargetEasting = easting;
      CheckChain(GridToGeographic(system, method, point), point);
    }
  }
}

}  // namespace
}  // namespace tervela::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tervela;
  using namespace tervela::fuzz;
  std::array<std::string, kSystemTextCount> texts;
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  for (std::string& text : texts) {
    const std::size_t end = rest.find('\n');
    text = rest.substr(0, end);
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
  }
  for (char separator : {'.', ','}) {
    const Result<TGridSystem> read = ReadGridSystem(texts, separator);
    if (!read.ok()) {
      const Error& error = read.error();
      Require((error.kind() == ErrorKind::NotANumber && IsProductError(error, texts, {})) ||
                  error == Error::Overflow(),
              "a parameter text fails as not a number or as an overflow");
      continue;
    }
    CheckChains(read.value());
  }
  return 0;
}
