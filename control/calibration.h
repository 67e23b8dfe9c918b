#pragma once

#include <span>
#include <vector>

#include "common/result.h"
#include "control/control_file.h"
#include "engine/engine.h"
#include "settings/system_values.h"

namespace tervela {

// Fits the local horizontal shift of a grid system to control points and
// returns `system` with the fields that carry the shift changed:
// - three-parameter shift: corr.N and corr.E (arc-seconds);
// - seven-parameter shift: Tx, Ty and Tz (metres), changed by the smallest
//   amount (least Euclidean norm) that gives the fitted shift. A horizontal
//   control set cannot tell a vertical translation, a rotation or a scale
//   change from a shift, so the rotations, K and every other field stay.
// The shift is the least-squares fit of one horizontal offset to the
// residuals of the points not `left_out` (left_out[i] for points[i]), which
// is their mean. The fitted fields are then found by Gauss-Newton steps on
// the engine's own conversion, its derivatives taken by central differences,
// until the mean residual is below kCalibrationTolerance (converged) or after
// kCalibrationSteps steps (not converged: the fields are then no fit).
// Errors: Error::NoControlPointToFit() when every point is left out; the
// conversion's error (Error::ControlLine) of a point that does not convert;
// Error::InvalidOperation() when the shift does not respond to the fields.
inline constexpr double kCalibrationTolerance = 1e-6;  // metres

// The fields a method's calibration changes, in the Settings page's order.
std::span<const TSystemField> CalibratedFields(TShiftMethod method);

// A calibrated field's value in the Settings page's unit (arc-seconds,
// metres), and `system` with it changed.
double CalibratedValue(const TGridSystem& system, TSystemField field);
void SetCalibratedValue(TGridSystem& system, TSystemField field, double value);

inline constexpr int kCalibrationSteps = 10;
struct TCalibration {
  TGridSystem system;
  bool converged = false;
  double mean_residual = 0;  // the length of the mean residual left, metres
};
Result<TCalibration> Calibrate(const TGridSystem& system, TShiftMethod method,
                               std::span<const TControlPoint> points,
                               const std::vector<bool>& left_out);

}  // namespace tervela
