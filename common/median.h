#pragma once

#include <vector>

namespace tervela {

// The median of `values` (not empty): the middle value, or the mean of the
// two middle values of an even count. Takes the values by copy, which it
// reorders.
double Median(std::vector<double> values);

}  // namespace tervela
