#pragma once

#include <cstdint>

#include "common/result.h"
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

// The line end on its own.
char* WriteLineEnd(char* out);

// The files a run writes, the scripts only when asked for.
enum class RunFile { Output, TextScript, PointScript, NumberScript };

// Lays out what one converted record adds to the files of a run, piece by
// piece in the order a run writes them: the output line (fields, free text,
// line end) and, with `scripts`, the text script's line (its start, the same
// free text, line end), the point script's line and the numbering script's
// line with `number`. `sink` takes the pieces:
//   Status Put(RunFile file, Format format): `format(out)` writes the piece
//     at `out` as the functions above do and returns its end;
//   Status PutFreeText(bool scripts): the record's free text without CRs,
//     into the output and, with `scripts`, the text script.
// The first failure of the sink ends the record.
template <class Sink>
Status LayOutRecord(Sink& sink, TConversionDirection direction, bool scripts,
                    const TWorkingPoint& point, std::int64_t number) {
  Status laid = sink.Put(RunFile::Output,
                         [&](char* out) { return WriteOutputFields(out, direction, point); });
  if (laid && scripts) {
    laid = sink.Put(RunFile::TextScript, [&](char* out) { return WriteTextLineStart(out, point); });
  }
  if (laid) laid = sink.PutFreeText(scripts);
  if (laid) laid = sink.Put(RunFile::Output, WriteLineEnd);
  if (!laid || !scripts) return laid;
  laid = sink.Put(RunFile::PointScript, [&](char* out) { return WritePointLine(out, point); });
  if (laid) laid = sink.Put(RunFile::TextScript, WriteLineEnd);
  if (!laid) return laid;
  return sink.Put(RunFile::NumberScript,
                  [&](char* out) { return WriteNumberLine(out, point, number); });
}

}  // namespace tervela
