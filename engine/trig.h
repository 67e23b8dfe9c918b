#pragma once

// The sine, cosine and arc tangents of the engine's formulas. Internal to the
// engine.
//
// They are the engine's own rather than the C library's so that a conversion
// gives the same bits on every system and processor: the libraries differ in
// the last bit now and then (one rounds through the x87 unit, another picks a
// multiply-add variant by processor), and a printed coordinate whose last
// digit lies on a rounding half then differs. Each value is carried to about
// 2^-65 of itself before its one rounding, so it is the correctly rounded
// value for all but a few arguments in ten thousand. Arguments in radians.

namespace tervela::engine_internal {

// sin x and cos x from one call.
void SinCos(double x, double& sin_x, double& cos_x);
double Sin(double x);

double Atan(double x);
// The angle of (x, y) from the x axis, in [-pi, pi], as std::atan2.
double Atan2(double y, double x);

}  // namespace tervela::engine_internal
