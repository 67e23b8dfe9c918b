#pragma once

// The geodetic engine: datum shifts, projection and the two conversion chains.
// Every operation reads a local grid system (grid_system.h) and reads and
// writes the working point in place; a floating-point fault (invalid
// operation, division by zero, overflow) ends the operation with its Error.

#include <span>

#include "common/result.h"
#include "engine/grid_system.h"
#include "engine/working_point.h"

namespace tervela {

// The datum shift used by every leg of a conversion.
enum class TShiftMethod { ThreeParameter, SevenParameter };

// WGS84 Latitude/Longitude -> local datum, Molodensky applied backwards after
// the corr.N/corr.E corrections. Writes Latitude, Longitude.
Status ThreeParameterShift(const TGridSystem& system, TWorkingPoint& point);

// WGS84 Latitude/Longitude -> local datum through geocentric coordinates and a
// seven-parameter similarity transformation. Writes Latitude, Longitude.
Status SevenParameterShift(const TGridSystem& system, TWorkingPoint& point);

// Local-datum Latitude/Longitude -> Northing/Easting (Gauss-Krueger).
Status TransverseMercator(const TGridSystem& system, TWorkingPoint& point);

// The longitude difference the projection takes: `longitude` (degrees, on
// the local datum) less the set's central meridian, taken to (-180, 180].
double LongitudeFromCentralMeridian(const TGridSystem& system, double longitude);

// WGS84 Latitude/Longitude -> Northing/Easting; leaves the local-datum
// latitude and longitude in the point.
Status GeographicToGrid(const TGridSystem& system, TShiftMethod method, TWorkingPoint& point);

// TargetNorthing/TargetEasting -> WGS84 Latitude/Longitude by the fixed
// ten-step inversion from 45 N, 13 E, taken on by Newton's method where it
// leaves a grid residual above 0.1 mm, or started again from the target's
// footpoint where that cannot reach it (a grid far from 45 N, 13 E); leaves
// the grid image of the result in Northing/Easting. Fails with
// Error::InversionDidNotConverge when Newton's method cannot bring the
// residual to 1e-6 m from either start.
Status GridToGeographic(const TGridSystem& system, TShiftMethod method, TWorkingPoint& point);

// GeographicToGrid and GridToGeographic on many points, for throughput: each
// point and its Status end exactly as the one-point chain would leave them.
// `statuses` has at least as many elements as `points`.
void GeographicToGridBatch(const TGridSystem& system, TShiftMethod method,
                           std::span<TWorkingPoint> points, std::span<Status> statuses);
void GridToGeographicBatch(const TGridSystem& system, TShiftMethod method,
                           std::span<TWorkingPoint> points, std::span<Status> statuses);

}  // namespace tervela
