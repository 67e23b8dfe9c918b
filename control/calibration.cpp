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

// The fields a method's calibration changes and the step of their central
// differences (arc-seconds or metres: a few decimetres on the ground).
struct Unknowns {
  std::array<double TParameterSet::*, 3> fields;
  std::size_t count;
  double step;
};
constexpr Unknowns kThreeParameterUnknowns{{&TParameterSet::CorrN, &TParameterSet::CorrE, nullptr}, 2, 0.01};
constexpr Unknowns kSevenParameterUnknowns{{&TParameterSet::Tx, &TParameterSet::Ty, &TParameterSet::Tz}, 3, 0.3};

class MeanResidual {
 public:
  MeanResidual(TShiftMethod method, std::span<const TControlPoint> points, const std::vector<bool>& left_out)
      : method_(method), points_(points), left_out_(left_out) {}

  Result<TResidual> Of(const TParameterSet& set) const {
    TResidual sum;
    std::size_t used = 0;
    for (std::size_t i = 0; i < points_.size(); ++i) {
      if (left_out_[i]) continue;
      const Result<TResidual> residual = ResidualOf(set, method_, points_[i]);
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

Result<TCalibration> Calibrate(const TParameterSet& set, TShiftMethod method,
                               std::span<const TControlPoint> points, const std::vector<bool>& left_out) {
  const Unknowns& unknowns =
      method == TShiftMethod::ThreeParameter ? kThreeParameterUnknowns : kSevenParameterUnknowns;
  const MeanResidual mean(method, points, left_out);
  TCalibration calibration{set};
  TParameterSet& fitted = calibration.set;
  for (int step = 0;; ++step) {
    const Result<TResidual> shift = mean.Of(fitted);
    if (!shift) return shift.error();
    calibration.mean_residual = Length(shift.value());
    calibration.converged = calibration.mean_residual < kCalibrationTolerance;
    if (calibration.converged || step == kCalibrationSteps) return calibration;

    // J: how the mean residual (north row, east row) changes with each field.
    std::array<std::array<double, 3>, 2> j{};
    for (std::size_t k = 0; k < unknowns.count; ++k) {
      TParameterSet plus = fitted, minus = fitted;
      plus.*unknowns.fields[k] += unknowns.step;
      minus.*unknowns.fields[k] -= unknowns.step;
      const Result<TResidual> up = mean.Of(plus);
      if (!up) return up.error();
      const Result<TResidual> down = mean.Of(minus);
      if (!down) return down.error();
      j[0][k] = (up.value().north - down.value().north) / (2 * unknowns.step);
      j[1][k] = (up.value().east - down.value().east) / (2 * unknowns.step);
    }
    // delta = J^T (J J^T)^-1 (-shift): the exact solution for two fields, the
    // least-norm one for three.
    double g[2][2] = {};
    for (std::size_t r = 0; r < 2; ++r) {
      for (std::size_t c = 0; c < 2; ++c) {
        for (std::size_t k = 0; k < unknowns.count; ++k) g[r][c] += j[r][k] * j[c][k];
      }
    }
    const double determinant = g[0][0] * g[1][1] - g[0][1] * g[1][0];
    const double target_north = -shift.value().north, target_east = -shift.value().east;
    const double y0 = (g[1][1] * target_north - g[0][1] * target_east) / determinant;
    const double y1 = (g[0][0] * target_east - g[1][0] * target_north) / determinant;
    for (std::size_t k = 0; k < unknowns.count; ++k) {
      const double value = fitted.*unknowns.fields[k] + (j[0][k] * y0 + j[1][k] * y1);
      if (!std::isfinite(value)) return Error::InvalidOperation();
      fitted.*unknowns.fields[k] = value;
    }
  }
}

}  // namespace tervela
