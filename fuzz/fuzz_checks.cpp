#include "fuzz/fuzz_checks.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace tervela::fuzz {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Consumes a run of digits; their count.
std::size_t ConsumeDigits(std::string_view& text, bool& any_nonzero) {
  std::size_t n = 0;
  while (n < text.size() && IsDigit(text[n])) any_nonzero |= text[n++] != '0';
  text.remove_prefix(n);
  return n;
}

}  // namespace

void Require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "fuzz assertion failed: %s\n", what);
  std::abort();
}

bool IsProductError(const Error& error, std::span<const std::string> typed_texts,
                    std::span<const int> file_codes) {
  const std::string& message = error.message();
  switch (error.kind()) {
    case ErrorKind::NotANumber:
      return std::any_of(typed_texts.begin(), typed_texts.end(), [&](const std::string& text) {
        return message == Error::NotANumber(text).message();
      });
    case ErrorKind::FloatingPoint:
      return error == Error::InvalidOperation() || error == Error::DivisionByZero() ||
             error == Error::Overflow();
    case ErrorKind::File:
      return std::find(file_codes.begin(), file_codes.end(), error.code()) != file_codes.end() &&
             error == Error::File(error.code());
    case ErrorKind::OutOfRange:
      return error == Error::LatitudeOutOfRange() || error == Error::TooNearPoleForShift();
    default:
      // The kind of the grid-to-geographic inversion's failure.
      return message == "Inversion did not converge";
  }
}

bool ConsumeFixed(std::string_view& text, int decimals, char separator) {
  std::string_view rest = text;
  const bool negative = ConsumeLiteral(rest, "-");
  bool any_nonzero = false;
  if (ConsumeDigits(rest, any_nonzero) == 0) return false;
  if (decimals > 0) {
    if (!ConsumeLiteral(rest, std::string_view(&separator, 1))) return false;
    std::string_view fraction = rest.substr(0, static_cast<std::size_t>(decimals));
    if (ConsumeDigits(fraction, any_nonzero) != static_cast<std::size_t>(decimals)) return false;
    rest.remove_prefix(static_cast<std::size_t>(decimals));
  }
  if (negative && !any_nonzero) return false;
  text = rest;
  return true;
}

bool ConsumeLiteral(std::string_view& text, std::string_view prefix) {
  if (!text.starts_with(prefix)) return false;
  text.remove_prefix(prefix.size());
  return true;
}

}  // namespace tervela::fuzz
