#include "conversion/direction.h"

namespace tervela {

std::array<std::string_view, 4> UnitCaptions(TConversionDirection d) {
  if (FromWgs(d)) return {"\u00B0N", "\u00B0E", "mN", "mE"};
  if (ToWgs(d)) return {"mN", "mE", "\u00B0N", "\u00B0E"};
  return {"mN", "mE", "mN", "mE"};
}

}  // namespace tervela
