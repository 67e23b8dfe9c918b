#pragma once

// A literal transcription of the engine formulas, term by term
// and in their written order, with no fault checks and without the quadrant fix
// (the longitude of the seven-parameter shift is arctan(Y'/X')). The engine
// forms its terms differently for speed (regrouped terms, carried sines and
// cosines, lanes side by side); the tests hold it to this reference to the last
// bits. It guards the optimisations, not the formulas: a wrong coefficient
// copied into both would pass. The formulas are held to PROJ
// (proj_oracle/engine_vs_proj.table).

#include "engine/grid_system.h"
#include "engine/working_point.h"

namespace tervela::literal {

struct Geocentric {
  double X, Y, Z;
};

void ThreeParameterShift(const TGridSystem& system, TWorkingPoint& point);
void TransverseMercator(const TGridSystem& system, TWorkingPoint& point);
void SevenParameterShift(const TGridSystem& system, TWorkingPoint& point);

// The three steps of the seven-parameter shift.
Geocentric GeodeticToGeocentric(double latitude, double longitude);
Geocentric HelmertTransform(const TGridSystem& system, const Geocentric& xyz);
void GeocentricToGeodetic(const TGridSystem& system, const Geocentric& xyz, double& latitude,
                          double& longitude);

// The inversion with `seven` choosing the shift.
void GeographicToGrid(const TGridSystem& system, bool seven, TWorkingPoint& point);
void GridToGeographic(const TGridSystem& system, bool seven, TWorkingPoint& point);

}  // namespace tervela::literal
