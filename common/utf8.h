#pragma once

#include <cstddef>
#include <string_view>

namespace tervela {

// The length (2 to 4) of the well-formed UTF-8 sequence that starts `text`, or
// 0 when none does: an ASCII byte, a stray continuation byte, an overlong or
// cut-short sequence, a surrogate or a code point beyond U+10FFFF.
std::size_t Utf8SequenceLength(std::string_view text);

}  // namespace tervela
