#pragma once

// What every fuzz target asserts, and the matchers its checks share. A
// violated assertion prints what failed and aborts, which libFuzzer reports
// as a finding with the input that caused it.

#include <span>
#include <string>
#include <string_view>

#include "common/error.h"

namespace tervela::fuzz {

// Aborts with `what` unless `holds`.
void Require(bool holds, const char* what);

// True for an error the product can report: one of the floating-point
// faults, "Inversion did not converge", a file error among `file_codes` with
// its own message, or "'t' is not a valid floating point value" for a `t`
// among `typed_texts`.
bool IsProductError(const Error& error, std::span<const std::string> typed_texts,
                    std::span<const int> file_codes);

// Consumes from the front of `text` one number as FormatFixed writes it with
// `decimals` decimals and `separator`: an optional "-", digits, then the
// separator and exactly `decimals` digits (none of either for 0 decimals),
// with no "-" on a number whose digits are all zero. False, consuming
// nothing, for anything else: "nan" and "inf" included.
bool ConsumeFixed(std::string_view& text, int decimals, char separator);

// Consumes `prefix` from the front of `text`; false when `text` does not
// start with it.
bool ConsumeLiteral(std::string_view& text, std::string_view prefix);

}  // namespace tervela::fuzz
