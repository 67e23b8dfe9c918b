#pragma once

// Floating-point fault detection for the engine's operations. Internal to the
// engine.
//
// Each formula has its own places where an invalid operation, a division by
// zero or an overflow can arise, and the first fault to arise decides the message. The engine runs
// its formulas in plain IEEE 754 arithmetic with the exceptions masked and
// reads the sticky status flags:
//
//   * RunWithFaultCheck runs an operation once with a single flag test at the
//     end (reading the flags costs as much as a few multiplications, and a
//     GridToGeographic call has some sixty steps). Only when that test finds
//     a fault does it run the operation again from the same input, now with
//     Checking::EveryStep: a test after every step that can fault, which
//     stops at the first fault and leaves the point as the steps before it
//     wrote it. The second run repeats the first bit for bit.
//   * TakeFault(values...) first makes sure the step's results exist (an empty
//     asm statement takes them as inputs, so the compiler can neither sink
//     their arithmetic below the flag test nor drop it), then reads the
//     flags, clears what it found and names the fault.
//   * Code after a failed check is only reached through the branch on the
//     check, and with -ftrapping-math (GCC's and Clang's default, never
//     overridden here: no -ffast-math) floating-point arithmetic that may trap
//     is not executed speculatively ahead of that branch.
//
// As every check clears what it reports and every run starts with
// DiscardStaleFaults(), a flag seen by a check was raised by its own step.
// When one step raises more than one flag, overflow is named before division
// by zero and division by zero before invalid operation: an overflow can
// cause the others later in the step (through an infinity, or a zero made of
// 1 / infinity), a division by zero can cause an invalid operation (infinity
// minus infinity, infinity times zero), and an invalid operation's NaN never
// causes either of the others.
//
// A result that is not finite although no flag was raised can only come from
// an input that was not finite; it is reported as an invalid operation, so no
// NaN or infinity is ever stored without an error.

#include <cfenv>
#include <cmath>
#include <type_traits>

#include "common/result.h"
#include "engine/working_point.h"

namespace tervela::fp {

// TooNearPole is no floating-point fault but the three-parameter shift's
// refusal of a point (three_parameter_shift.cpp), which an operation returns
// under either kind of checking and which takes its place in the same order.
enum class Fault : unsigned char {
  NoFault,
  InvalidOperation,
  DivisionByZero,
  Overflow,
  TooNearPole
};

// Whether an operation tests the flags after every step or leaves the test to
// its caller's end.
enum class Checking : unsigned char { AtEnd, EveryStep };

inline constexpr int kFaultFlags = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;

// The fault flags raised so far. Where double arithmetic is SSE2 (x86-64),
// the engine's arithmetic and the library functions it calls raise their
// flags in MXCSR only, which is read inline; elsewhere fetestexcept reads them.
inline int RaisedFaultFlags() {
#if (defined(__GNUC__) || defined(__clang__)) && defined(__x86_64__) && defined(__SSE2_MATH__)
  unsigned int mxcsr;
  __asm__ volatile("stmxcsr %0" : "=m"(mxcsr));
  return static_cast<int>(mxcsr) & kFaultFlags;
#else
  return std::fetestexcept(kFaultFlags);
#endif
}

// Makes `value` an input of an empty, volatile asm statement: it must be
// computed before this point and before the flag test that follows.
inline void Materialise(const double& value) {
#if (defined(__GNUC__) || defined(__clang__)) && defined(__x86_64__) && defined(__SSE2_MATH__)
  __asm__ volatile("" : : "x"(value));
#elif defined(__GNUC__) || defined(__clang__)
  __asm__ volatile("" : : "m"(value) : "memory");
#else
  volatile double sink = value;
  (void)sink;
#endif
}

// Clears fault flags left by whoever ran before the operation.
inline void DiscardStaleFaults() {
  if (const int raised = RaisedFaultFlags(); raised != 0) std::feclearexcept(raised);
}

// The fault raised by the step whose results are `values`, or NoFault.
template <class... Values>
inline Fault TakeFault(const Values&... values) {
  (Materialise(values), ...);
  if (const int raised = RaisedFaultFlags(); raised != 0) {
    std::feclearexcept(raised);
    if (raised & FE_OVERFLOW) return Fault::Overflow;
    if (raised & FE_DIVBYZERO) return Fault::DivisionByZero;
    return Fault::InvalidOperation;
  }
  if (!(std::isfinite(values) && ...)) return Fault::InvalidOperation;
  return Fault::NoFault;
}

// The fault one step reports whose values, taken in two parts, raised `a`
// and `b`: the one TakeFault names first.
inline Fault OfOneStep(Fault a, Fault b) { return a > b ? a : b; }
static_assert(Fault::NoFault < Fault::InvalidOperation && Fault::InvalidOperation < Fault::DivisionByZero &&
              Fault::DivisionByZero < Fault::Overflow);

// The fault of one step under `checking`: NoFault without a test at AtEnd.
// Steps on several points side by side (lanes.h) are run at AtEnd only: the
// flags cannot tell which lane raised them, so their caller tests once at the
// end and takes a point with a fault through the chain alone.
template <class... Values>
inline Fault CheckStep(Checking checking, const Values&... values) {
  if constexpr ((std::is_same_v<Values, double> && ...)) {
    return checking == Checking::EveryStep ? TakeFault(values...) : Fault::NoFault;
  } else {
    return Fault::NoFault;
  }
}

// The Status a fault ends an operation with.
inline Status ToStatus(Fault fault) {
  switch (fault) {
    case Fault::NoFault:
      return {};
    case Fault::InvalidOperation:
      return Error::InvalidOperation();
    case Fault::DivisionByZero:
      return Error::DivisionByZero();
    case Fault::Overflow:
      return Error::Overflow();
    case Fault::TooNearPole:
      return Error::TooNearPoleForShift();
  }
  return {};
}

// Runs `operation(point, checking)`, which returns a Fault, on `point` as
// described at the top: once with one test at the end over the fields it
// writes (kOutputs), and a second time, step by step, from the same input if
// that test or the operation itself found a fault (a refusal, or a fault of
// deriving its parameters' values: grid_system.h).
template <double TWorkingPoint::*... kOutputs, class Operation>
Status RunWithFaultCheck(TWorkingPoint& point, Operation operation) {
  DiscardStaleFaults();
  const TWorkingPoint input = point;
  const Fault returned = operation(point, Checking::AtEnd);
  const Fault taken = TakeFault((point.*kOutputs)...);
  const Fault fault = taken != Fault::NoFault ? taken : returned;
  if (fault == Fault::NoFault) return {};

  point = input;
  const Fault first_fault = operation(point, Checking::EveryStep);
  return ToStatus(first_fault != Fault::NoFault ? first_fault : fault);
}

}  // namespace tervela::fp
