#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"

namespace tervela {

// A point known in both WGS84 and a local grid: latitude and longitude in
// decimal degrees, northing and easting in metres.
struct TControlPoint {
  double latitude = 0, longitude = 0;
  double northing = 0, easting = 0;
  std::string name;       // the rest of its line; its line number when that is empty
  std::size_t line = 0;   // 1 for the file's first line
};

// The points of a control file's text. Each line holds four point-file numbers
// (latitude, longitude, northing, easting) separated by blanks or tabs, then
// an optional name: the rest of the line, without the blanks and tabs around
// it. A line ends at LF, CR LF or a lone CR: control files have no older
// rule to keep. Blank lines and lines whose first character other than a
// blank or tab is "#" are skipped. The first line with fewer than four
// numbers or a malformed one, or one beyond 90 degrees of latitude, 180 of
// longitude or 1e9 metres, ends the reading with Error::ControlLine; a text
// without any point is Error::NoControlPoint(), since checking nothing is no
// check.
Result<std::vector<TControlPoint>> ParseControlPoints(std::string_view text);

// The same for the file at `path`, read through io/. A file larger than
// kMaxControlFileBytes is refused with Error::ControlFileTooLarge().
inline constexpr std::size_t kMaxControlFileBytes = std::size_t{16} << 20;
Result<std::vector<TControlPoint>> ReadControlFile(const std::string& path);

}  // namespace tervela
