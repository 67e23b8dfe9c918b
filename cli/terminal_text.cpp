#include "cli/terminal_text.h"

#include "common/utf8.h"

namespace tervela {

namespace {

bool IsControl(unsigned char byte) { return byte < 0x20 || (byte >= 0x7F && byte <= 0x9F); }

void AppendEscape(std::string& out, unsigned char byte) {
  static constexpr char kHexDigits[] = "0123456789abcdef";
  switch (byte) {
    case '\t': out += "\\t"; return;
    case '\n': out += "\\n"; return;
    case '\r': out += "\\r"; return;
    default:
      out += "\\x";
      out.push_back(kHexDigits[byte >> 4]);
      out.push_back(kHexDigits[byte & 0x0F]);
  }
}

}  // namespace

std::string EscapeControlCharacters(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    if (const std::size_t length = Utf8SequenceLength(text.substr(i)); length > 0) {
      out.append(text.substr(i, length));
      i += length;
      continue;
    }
    const auto byte = static_cast<unsigned char>(text[i++]);
    if (IsControl(byte)) {
      AppendEscape(out, byte);
    } else {
      out.push_back(static_cast<char>(byte));
    }
  }
  return out;
}

}  // namespace tervela
