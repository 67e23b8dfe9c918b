#pragma once

// Finding Transverse Mercator systems in PROJ's database by their name, and
// any object by its code.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"

namespace tervela {

struct TSystemSummary {
  std::string code;  // "EPSG:31467"
  std::string name;
  std::string area;  // PROJ's name of the area of use
};

// The projected systems on Transverse Mercator whose name holds `text`
// (letters compared without case), deprecated ones left out, in the
// database's order; the areas of a system used in several are joined by
// "; ". An empty text finds them all. Fails when PROJ or its data cannot be
// had (Error::SystemRefused saying which).
Result<std::vector<TSystemSummary>> FindTransverseMercatorSystems(std::string_view text);

// The object PROJ names by `code` ("EPSG:31467", of whatever type): its
// code as given, name and area of use; unset when PROJ knows no such code
// (or cannot be had).
std::optional<TSystemSummary> LookUpCode(std::string_view code);

}  // namespace tervela
