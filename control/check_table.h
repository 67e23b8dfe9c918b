#pragma once

#include <string>
#include <string_view>

#include "control/control_run.h"

namespace tervela {

// The lines of a residual table, without line ends, numbers in metres with
// three decimals and a point:
//   NAME<TAB>dN<TAB>dE<TAB>d[<TAB>outlier]   one per point
//   points N<TAB>rms R<TAB>max M<TAB>outliers K
std::string CheckRowText(std::string_view name, const TResidual& residual, bool outlier);
std::string CheckSummaryText(const TControlCheck& check);

// "corr.N 1.23456<TAB>corr.E -0.54321": the calibrated fields as written.
std::string CalibratedValuesText(const TControlReport& report);

}  // namespace tervela
