#include "common/median.h"

#include <algorithm>
#include <cstddef>

namespace tervela {

double Median(std::vector<double> values) {
  const auto middle = static_cast<std::ptrdiff_t>(values.size() / 2);
  std::nth_element(values.begin(), values.begin() + middle, values.end());
  const double upper = values[static_cast<std::size_t>(middle)];
  if (values.size() % 2 == 1) return upper;
  // nth_element leaves the lower half before the middle, its largest the
  // other middle value.
  const double lower = *std::max_element(values.begin(), values.begin() + middle);
  return (lower + upper) / 2;
}

}  // namespace tervela
