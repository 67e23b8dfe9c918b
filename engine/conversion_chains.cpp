// The geographic-to-grid chain.
// Source: those of its shift and projection (three_parameter_shift.cpp, seven_parameter_shift.cpp, transverse_mercator.cpp).
//
// The datum shift of the chosen method followed by the projection, their set-up
// made once per call.

#include "engine/engine.h"
#include "engine/forward_run.h"

namespace tervela {

using engine_internal::BeyondPole;
using engine_internal::CarriedTrig;
using engine_internal::Forward;
using engine_internal::RunChain;

// A latitude beyond a pole is refused before the chain runs; longitudes are
// taken as they come (0 to 360 as well as -180 to 180).
Status GeographicToGrid(const TGridSystem& system, TShiftMethod method, TWorkingPoint& point) {
  if (BeyondPole(point.Latitude)) return Error::LatitudeOutOfRange();
  return RunChain(system, method, point,
                  [](const auto& shift, const auto& projection, TWorkingPoint& p, fp::Checking) {
                    CarriedTrig<> carried;
                    return Forward(shift, projection, p, carried);
                  });
}

}  // namespace tervela
