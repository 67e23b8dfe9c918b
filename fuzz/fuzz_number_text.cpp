// Fuzzes both number grammars and the fixed formatting: every text is parsed
// as typed (with '.' and with ','), as a point-file token, and every value
// parsed is formatted back with several decimal counts.
//
// Holds for any text: a parse gives a finite value or an error of its
// grammar's set; the point grammar and the typed grammar with '.' agree on
// texts without blanks; swapping the separator of a typed text changes
// nothing; FormatFixed and FormatFixedTo write the same text, which reads back
// within half a unit of the last decimal (plus the rounding of the read).

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/number_text.h"
#include "fuzz/fuzz_checks.h"

namespace tervela::fuzz {
namespace {

constexpr std::array<int, 5> kDecimalCounts = {0, 1, 3, 8, 17};
constexpr std::array<int, 1> kInvalidNumericInput = {file_error::kInvalidNumericInput};

bool SameOutcome(const Result<double>& a, const Result<double>& b) {
  if (a.ok() != b.ok()) return false;
  if (!a.ok()) return a.error() == b.error();
  return a.value() == b.value() && std::signbit(a.value()) == std::signbit(b.value());
}

void CheckFormatting(double value) {
  for (int decimals : kDecimalCounts) {
    for (char separator : {'.', ','}) {
      const std::string text = FormatFixed(value, decimals, separator);
      std::string_view rest = text;
      Require(ConsumeFixed(rest, decimals, separator) && rest.empty(), "FormatFixed grammar");
      const Result<double> back = ParseTypedNumber(text, separator);
      Require(back.ok(), "FormatFixed text reads back");
      // The text is the value rounded to `decimals`; reading it rounds once more.
      const long double error = std::fabs(static_cast<long double>(back.value()) - value);
      const long double half_unit = 0.5L * std::pow(10.0L, -decimals);
      const long double read_rounding = std::ldexp(std::fabs(static_cast<long double>(value)) + half_unit, -52);
      Require(error <= half_unit * (1 + 1e-15L) + read_rounding, "FormatFixed rounding");
    }
    std::array<char, kMaxFixedChars> buffer;
    const char* end = FormatFixedTo(buffer.data(), value, decimals);
    Require(std::string_view(buffer.data(), static_cast<std::size_t>(end - buffer.data())) ==
                FormatFixed(value, decimals, '.'),
            "FormatFixedTo equals FormatFixed");
  }
}

void CheckTyped(const std::string& text, char separator) {
  const Result<double> parsed = ParseTypedNumber(text, separator);
  if (!parsed.ok()) {
    Require(IsProductError(parsed.error(), std::span(&text, 1), {}), "typed number error");
    return;
  }
  Require(std::isfinite(parsed.value()), "typed number is finite");
  CheckFormatting(parsed.value());
}

}  // namespace
}  // namespace tervela::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tervela;
  using namespace tervela::fuzz;
  const std::string text(reinterpret_cast<const char*>(data), size);
  CheckTyped(text, '.');
  CheckTyped(text, ',');

  const Result<double> token = ParseFileNumber(text);
  if (token.ok()) {
    Require(std::isfinite(token.value()), "file number is finite");
  } else {
    Require(IsProductError(token.error(), {}, kInvalidNumericInput), "file number error");
  }

  const bool has_blank = text.find(' ') != std::string::npos;
  const bool has_comma = text.find(',') != std::string::npos;
  const Result<double> typed_point = ParseTypedNumber(text, '.');
  if (!has_blank) {
    Require(token.ok() == typed_point.ok(), "the two grammars accept the same texts");
    Require(!token.ok() || SameOutcome(token, typed_point), "the two grammars read the same value");
  }
  if (!has_comma) {
    std::string with_comma = text;
    for (char& c : with_comma) c = c == '.' ? ',' : c;
    const Result<double> typed_comma = ParseTypedNumber(with_comma, ',');
    Require(typed_point.ok() == typed_comma.ok() &&
                (!typed_point.ok() || SameOutcome(typed_point, typed_comma)),
            "the separator changes nothing else");
  }
  return 0;
}
