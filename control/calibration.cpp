// Calibration of a local shift by least squares: a mean horizontal residual,
// removed by Gauss-Newton iteration on the fields that carry the shift, with
// the minimum-norm solution J^T (J J^T)^-1 of the underdetermined
// seven-parameter case (the Moore-Penrose pseudo-inverse of a full-rank
// 2 x n Jacobian).

#include "control/calibration.h"

#include <array>
#include <cmath>
#include <vector>

#include "control/residual_check.h"

namespace tervela {

namespace {

constexpr TSystemField kThreeParameterFields[] = {TSystemField::CorrN, TSystemField::CorrE};
constexpr TSystemField kSevenParameterFields[] = {TSystemField::Tx, TSystemField::Ty,
                                                  TSystemField::Tz};

// The step of the central differences, in the fields' unit (arc-seconds or
// metres: a few decimetres on the ground).
double StepOf(TShiftMethod method) { return method == TShiftMethod::ThreeParameter ? 0.01 : 0.3; }

class MeanResidual {
 public:
  MeanResidual(TShiftMethod method, std::span<const TControlPoint> points, const std::vector<bool>& left_out)
      : method_(method), points_(points), left_out_(left_out) {}

  Result<TResidual> Of(const TGridSystem& system) const {
    TResidual sum;
    std::size_t used = 0;
    for (std::size_t i = 0; i < points_.size(); ++i) {
      if (left_out_[i]) continue;
      const Result<TResidual> residual = ResidualOf(system, method_, points_[i]);
      if (!residual) return residual.error();
      sum.north += residual.value().north;
      sum.east += residual.value().east;
      ++used;
    }
    if (used == 0) return Error::NoControlPointToFit();
    return TResidual{sum.north / static_cast<double>(used), sum.east / static_cast<double>(used)};
  }

 private:
  TShiftMethod method_;
  std::span<const TControlPoint> points_;
  const std::vector<bool>& left_out_;
};

}  // namespace

std::span<const TSystemField> CalibratedFields(TShiftMethod method) {
  if (method == TShiftMethod::ThreeParameter) return kThreeParameterFields;
  return kSevenParameterFields;
}

double CalibratedValue(const TGridSystem& system, TSystemField field) {
  switch (field) {
    case TSystemField::CorrN: return system.molodensky.corr_n();
    case TSystemField::CorrE: return system.molodensky.corr_e();
    case TSystemField::Tx: return system.helmert.translation()[0];
    case TSystemField::Ty: return system.helmert.translation()[1];
    case TSystemField::Tz: return system.helmert.translation()[2];
    default: return 0;
  }
}

void SetCalibratedValue(TGridSystem& system, TSystemField field, double value) {
  const TMolodenskyShift& molodensky = system.molodensky;
  const THelmertShift& helmert = system.helmert;
  std::array<double, 3> translation = helmert.translation();
  switch (field) {
    case TSystemField::CorrN:
      system.molodensky = TMolodenskyShift(molodensky.translation(), value, molodensky.corr_e());
      return;
    case TSystemField::CorrE:
      system.molodensky = TMolodenskyShift(molodensky.translation(), molodensky.corr_n(), value);
      return;
    case TSystemField::Tx: translation[0] = value; break;
    case TSystemField::Ty: translation[1] = value; break;
    case TSystemField::Tz: translation[2] = value; break;
    default: return;
  }
  system.helmert = THelmertShift(translation, helmert.rotation(), helmert.scale_difference());
}

Result<TCalibration> Calibrate(const TGridSystem& system, TShiftMethod method,
                               std::span<const TControlPoint> points,
                               const std::vector<bool>& left_out) {
  const std::span<const TSystemField> fields = CalibratedFields(method);
  const double step = StepOf(method);
  const MeanResidual mean(method, points, left_out);
  TCalibration calibration{system};
  TGridSystem& fitted = calibration.system;
  for (int iteration = 0;; ++iteration) {
    const Result<TResidual> shift = mean.Of(fitted);
    if (!shift) return shift.error();
    calibration.mean_residual = Length(shift.value());
    calibration.converged = calibration.mean_residual < kCalibrationTolerance;
    if (calibration.converged || iteration == kCalibrationSteps) return calibration;

    // J: how the mean residual (north row, east row) changes with each field.
    std::array<std::array<double, 3>, 2> j{};
    for (std::size_t k = 0; k < fields.size(); ++k) {
      TGridSystem plus = fitted, minus = fitted;
      const double value = CalibratedValue(fitted, fields[k]);
      SetCalibratedValue(plus, fields[k], value + step);
      SetCalibratedValue(minus, fields[k], value - step);
      const Result<TResidual> up = mean.Of(plus);
      if (!up) return up.error();
      const Result<TResidual> down = mean.Of(minus);
      if (!down) return down.error();
      j[0][k] = (up.value().north - down.value().north) / (2 * step);
      j[1][k] = (up.value().east - down.value().east) / (2 * step);
    }
    // delta = J^T (J J^T)^-1 (-shift): the exact solution for two fields, the
    // least-norm one for three.
    double g[2][2] = {};
    for (std::size_t r = 0; r < 2; ++r) {
      for (std::size_t c = 0; c < 2; ++c) {
        for (std::size_t k = 0; k < fields.size(); ++k) g[r][c] += j[r][k] * j[c][k];
      }
    }
    const double determinant = g[0][0] * g[1][1] - g[0][1] * g[1][0];
    const double target_north = -shift.value().north, target_east = -shift.value().east;
    const double y0 = (g[1][1] * target_north - g[0][1] * target_east) / determinant;
    const double y1 = (g[0][0] * target_east - g[1][0] * target_north) / determinant;
    for (std::size_t k = 0; k < fields.size(); ++k) {
      const double value = CalibratedValue(fitted, fields[k]) + (j[0][k] * y0 + j[1][k] * y1);
      if (!std::isfinite(value)) return Error::InvalidOperation();
      SetCalibratedValue(fitted, fields[k], value);
    }
  }
}

}  // namespace tervela
