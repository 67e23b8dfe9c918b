#pragma once

// A literal transcription of the engine formulas, term by term
// and in their written order, with no fault checks and without the quadrant fix
// (the longitude of the seven-parameter shift is arctan(Y'/X')). The engine
// forms its terms differently for speed (regrouped terms, carried sines and
// cosines, lanes side by side); the tests hold it to this reference to the last
// bits. It guards the optimisations, not the formulas: a wrong coefficient
// copied into both would pass. The formulas are held to PROJ
// (proj_oracle/engine_vs_proj.table).

#include "engine/parameter_set.h"
#include "engine/working_point.h"

namespace tervela::literal {

struct Geocentric {
  double X, Y, Z;
};

void ThreeParameterShift(const TParameterSet& set, TWorkingPoint& point);
void TransverseMercator(const TParameterSet& set, TWorkingPoint& point);
void SevenParameterShift(const TParameterSet& set, TWorkingPoint& point);

// The three steps of the seven-parameter shift.
Geocentric GeodeticToGeocentric(double latitude, double longitude);
Geocentric HelmertTransform(const TParameterSet& set, const Geocentric& xyz);
void GeocentricToGeodetic(const TParameterSet& set, const Geocentric& xyz, double& latitude,
                          double& longitude);

// The inversion with `seven` choosing the shift.
void GeographicToGrid(const TParameterSet& set, bool seven, TWorkingPoint& point);
void GridToGeographic(const TParameterSet& set, bool seven, TWorkingPoint& point);

}  // namespace tervela::literal
