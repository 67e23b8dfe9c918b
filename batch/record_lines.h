#pragma once

#include <cstdint>

#include "conversion/direction.h"
#include "engine/working_point.h"

namespace tervela {

// The pieces of the lines a run writes for one converted record. Each writes
// at `out`, which needs room for 2 * kMaxFixedChars + 32 characters, and
// returns the end. Numbers use a point as separator, whatever the locale.

// The output line before the free text: northing and easting with 3
// decimals (WgsToA, WgsToB), latitude and longitude with 8 decimals and a
// blank (AToWgs, BToWgs), or northing and easting of the target system with 3
// decimals and a blank (AToB, BToA).
char* WriteOutputFields(char* out, TConversionDirection direction, const TWorkingPoint& point);

// "point X,Y" and the line end.
char* WritePointLine(char* out, const TWorkingPoint& point);

// "text X,Y 5 0 ", to be followed by the free text and the line end.
char* WriteTextLineStart(char* out, const TWorkingPoint& point);

// "text X,Y-4 3 0 n" and the line end; Y-4 is taken from the unrounded
// northing.
char* WriteNumberLine(char* out, const TWorkingPoint& point, std::int64_t number);

inline constexpr char kLineEnd[] = "\r\n";

}  // namespace tervela
