#pragma once

// Finding Transverse Mercator systems in PROJ's database by their name.

#include <string>
#include <string_view>
#include <vector>

namespace tervela {

struct TSystemSummary {
  std::string code;  // "EPSG:31467"
  std::string name;
  std::string area;  // PROJ's name of the area of use
};

// The projected systems on Transverse Mercator whose name holds `text`
// (letters compared without case), deprecated ones left out, in the
// database's order; the areas of a system used in several are joined by
// "; ". An empty text finds them all.
std::vector<TSystemSummary> FindTransverseMercatorSystems(std::string_view text);

}  // namespace tervela
