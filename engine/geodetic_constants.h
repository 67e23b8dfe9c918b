#pragma once

// The constants of the geodetic engine, each named once with its value. Internal to the engine.

#include <numbers>

namespace tervela::geodesy {

// Angles.
inline constexpr double kPi = std::numbers::pi;
inline constexpr double kRadiansPerDegree = kPi / 180.0;
inline constexpr double kDegreesPerRadian = 180.0 / kPi;
inline constexpr double kArcSecondsPerDegree = 3600.0;
inline constexpr double kPoleLatitude = 90.0;                // degrees

// WGS84 and the reference ellipsoid of the local datums.
inline constexpr double kWgs84SemiMajorAxis = 6378137.0;  // a [m]
// Flattening f of WGS84 as the three-parameter shift uses it (local f = this - df).
inline constexpr double kWgs84Flattening = 0.00335281066474;
// Ratio b/a of the reference ellipsoid, for the projection and the seven-parameter shift (local b = a x
// (df + this)). Equal, to the digits shown, to 6356752.3142 / 6378137; it and
// kWgs84Flattening are separate constants, not derived from each other.
inline constexpr double kReferenceAxisRatio = 0.996647189328169;
// First eccentricity squared e2 of WGS84 and 1 - e2, for the seven-parameter shift: 1 - (b/a)^2 and
// (b/a)^2 for the ratio above.
inline constexpr double kWgs84EccentricitySquared = 0.006694380004261;
inline constexpr double kWgs84OneMinusEccentricitySquared = 0.993305619995739;

// Ellipsoidal height h of every point [m]; there is no height input.
inline constexpr double kAssumedHeight = 200.0;

// The largest turn about the Earth's axis [radians] the three-parameter
// shift gives a point: one degree (three_parameter_shift.cpp says why).
inline constexpr double kLargestMolodenskyTurn = kRadiansPerDegree;

// Helmert's meridian-arc series in the third flattening n.
namespace meridian_arc {
inline constexpr double kN2 = 1.0 / 4.0;           // alpha: n^2
inline constexpr double kN4 = 1.0 / 64.0;          // alpha: n^4
inline constexpr double kBetaN1 = -3.0 / 2.0;      // beta: n
inline constexpr double kBetaN3 = 9.0 / 16.0;      // beta: n^3
inline constexpr double kBetaN5 = -3.0 / 32.0;     // beta: n^5
inline constexpr double kGammaN2 = 15.0 / 16.0;    // gamma: n^2
inline constexpr double kGammaN4 = -15.0 / 32.0;   // gamma: n^4
inline constexpr double kDeltaN3 = -35.0 / 48.0;   // delta: n^3
inline constexpr double kDeltaN5 = 105.0 / 256.0;  // delta: n^5
// The footpoint latitude from the rectifying latitude mu = G / alpha, to n^2:
// phi = mu + 3n/2 sin 2mu + 21n^2/16 sin 4mu.
inline constexpr double kFootpointN1 = 3.0 / 2.0;     // sin 2mu: n
inline constexpr double kFootpointN2 = 21.0 / 16.0;   // sin 4mu: n^2
}  // namespace meridian_arc

// The grid-to-geographic inversion: fixed-gain steps, then Newton's method where
// they leave a residual.
namespace inversion {
inline constexpr double kStartLatitude = 45.0;   // degrees
inline constexpr double kStartLongitude = 13.0;  // degrees
// Degrees per metre of northing residual (about 1 / 112556 m per degree).
inline constexpr double kLatitudeGain = 8.884449823e-6;
// Degrees per metre of easting residual (about 1 / 76049 m per degree).
inline constexpr double kLongitudeGain = 1.314944622e-5;
inline constexpr int kIterations = 10;
// Grid residual [m] up to which the estimate of the fixed steps (or of the
// footpoint) stands as it is.
inline constexpr double kFixedStepsTolerance = 1e-4;
// Grid residual [m] that Newton's method refines a larger one to, in both
// northing and easting: far below the millimetre of the grid values given.
inline constexpr double kNewtonTolerance = 1e-6;
// Forward runs Newton's method may take: three per step (two for the
// Jacobian, one for the step), about ten steps with room for damping.
inline constexpr int kNewtonForwardRuns = 30;
// Finite-difference step of the Jacobian [degrees], about 0.1 m on the
// ground: its truncation and rounding errors are both near 1e-8 relative.
inline constexpr double kJacobianStep = 1e-6;
// Largest Newton step [degrees] taken at once; a longer one is shortened.
inline constexpr double kLargestNewtonStep = 1.0;
// The Jacobian counts as singular where its determinant is below this
// fraction of the sum of the magnitudes of its two products.
inline constexpr double kSingularDeterminantRatio = 1e-6;
}  // namespace inversion

}  // namespace tervela::geodesy
