#pragma once

// The batch functions of engine.h on a chosen lane path, so that the tests can
// hold every path the processor can run to the one-point chains. Internal to
// the engine.

#include <span>

#include "common/result.h"
#include "engine/engine.h"

// The AVX2 path is built where GCC compiles for x86-64 and chosen at run time
// (engine/CMakeLists.txt); elsewhere only the plain path exists.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define TERVELA_AVX2_LANES 1
#endif

namespace tervela::engine_internal {

// Plain: the lanes on the registers every x86-64 (or other) processor has.
// Avx2: on AVX2 registers, where the processor has them.
enum class LanePath { Plain, Avx2 };

// Avx2 where it is built and the processor has it, else Plain.
LanePath WidestLanePath();

// The chain a batch runs: GeographicToGrid or GridToGeographic.
enum class LaneChain { Forward, Inverse };

// GeographicToGridBatch or GridToGeographicBatch on `path`.
void RunInGroups(LanePath path, LaneChain chain, const TGridSystem& system, TShiftMethod method,
                 std::span<TWorkingPoint> points, std::span<Status> statuses);

}  // namespace tervela::engine_internal
