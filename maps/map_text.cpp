#include "maps/map_text.h"

#include "common/utf8.h"

namespace tervela {

namespace {

// Appends the UTF-8 form of a code point below U+0800.
void AppendTwoByteCode(std::string& out, unsigned code) {
  out.push_back(static_cast<char>(0xC0 | (code >> 6)));
  out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
}

// Appends U+2400 + `byte` (below 0x20), the Control Pictures symbol of a
// control character: E2 90 80 + byte in UTF-8.
void AppendControlPicture(std::string& out, unsigned char byte) {
  out.append("\xE2\x90");
  out.push_back(static_cast<char>(0x80 + byte));
}

// Calls `ascii(byte)` for every byte below 0x80 and appends every other
// character as UTF-8: a well-formed sequence as it is, a stray byte as its
// ISO 8859-1 character.
template <class Ascii>
void AppendAsUtf8(std::string& out, std::string_view bytes, Ascii ascii) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    if (byte < 0x80) {
      ascii(byte);
      ++i;
    } else if (const std::size_t length = Utf8SequenceLength(bytes.substr(i)); length != 0) {
      out.append(bytes.substr(i, length));
      i += length;
    } else {
      AppendTwoByteCode(out, byte);
      ++i;
    }
  }
}

}  // namespace

void AppendJsonString(std::string& out, std::string_view bytes) {
  static constexpr char kHex[] = "0123456789abcdef";
  AppendAsUtf8(out, bytes, [&out](unsigned char byte) {
    if (byte == '"' || byte == '\\') {
      out.push_back('\\');
      out.push_back(static_cast<char>(byte));
    } else if (byte < 0x20 || byte == 0x7F) {
      out.append("\\u00");
      out.push_back(kHex[byte >> 4]);
      out.push_back(kHex[byte & 0xF]);
    } else {
      out.push_back(static_cast<char>(byte));
    }
  });
}

void AppendXmlText(std::string& out, std::string_view bytes) {
  AppendAsUtf8(out, bytes, [&out](unsigned char byte) {
    switch (byte) {
      case '&': out.append("&amp;"); return;
      case '<': out.append("&lt;"); return;
      case '>': out.append("&gt;"); return;
      case '"': out.append("&quot;"); return;
      case '\'': out.append("&apos;"); return;
      case '\t':
      case '\n':
      case '\r': out.push_back(static_cast<char>(byte)); return;
      default: break;
    }
    if (byte >= 0x20) {
      out.push_back(static_cast<char>(byte));
      return;
    }
    AppendControlPicture(out, byte);
  });
}

void AppendDrawnText(std::string& out, std::string_view bytes) {
  AppendAsUtf8(out, bytes.substr(0, bytes.find('\0')), [&out](unsigned char byte) {
    if (byte >= 0x20) {
      out.push_back(static_cast<char>(byte));
      return;
    }
    AppendControlPicture(out, byte);
  });
}

std::string_view TrimBlanks(std::string_view text) {
  const auto blank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace tervela
