#pragma once

#include <cfenv>

#include "common/result.h"

namespace tervela {

// Watches the floating-point status flags over a stretch of arithmetic.
// Construction clears the flags; Check() turns a raised invalid-operation,
// division-by-zero or overflow flag into the matching Error (in that order of
// precedence). Underflow and inexact results pass silently.
class FloatingPointWatch {
 public:
  FloatingPointWatch() { std::feclearexcept(FE_ALL_EXCEPT); }

  Status Check() const {
    const int raised = std::fetestexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW);
    if (raised == 0) return {};
    if (raised & FE_INVALID) return Error::InvalidOperation();
    if (raised & FE_DIVBYZERO) return Error::DivisionByZero();
    return Error::Overflow();
  }
};

}  // namespace tervela
