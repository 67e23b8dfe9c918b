#include "maps/map_text.h"

#include "common/utf8.h"

namespace tervela {

namespace {

// U+FFFD REPLACEMENT CHARACTER in UTF-8.
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
// U+2026 HORIZONTAL ELLIPSIS in UTF-8.
constexpr std::string_view kEllipsis = "\xE2\x80\xA6";

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

// The code point of a well-formed UTF-8 sequence of two to four bytes.
char32_t CodePoint(std::string_view sequence) {
  const auto lead = static_cast<unsigned char>(sequence[0]);
  char32_t code = lead & (0x7F >> sequence.size());
  for (std::size_t i = 1; i < sequence.size(); ++i) {
    code = (code << 6) | (static_cast<unsigned char>(sequence[i]) & 0x3F);
  }
  return code;
}

// The characters beyond ASCII that a reader refuses.
enum class Refuses { Nothing, XmlNonCharacters, NonCharacters };

bool Refused(Refuses refuses, char32_t code) {
  switch (refuses) {
    case Refuses::Nothing: return false;
    case Refuses::XmlNonCharacters: return code == 0xFFFE || code == 0xFFFF;
    case Refuses::NonCharacters:
      return (code >= 0xFDD0 && code <= 0xFDEF) || (code & 0xFFFE) == 0xFFFE;
  }
  return false;
}

// Calls `ascii(byte)` for every byte below 0x80 and appends every other
// character as UTF-8: a well-formed sequence as it is (U+FFFD where the
// reader refuses its character), a stray byte as its ISO 8859-1 character.
// Stops after `max_characters` characters; false when that left some out.
template <class Ascii>
bool AppendAsUtf8(std::string& out, std::string_view bytes, Refuses refuses, Ascii ascii,
                  std::size_t max_characters = std::string_view::npos) {
  std::size_t i = 0;
  for (std::size_t characters = 0; i < bytes.size() && characters < max_characters; ++characters) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    if (byte < 0x80) {
      ascii(byte);
      ++i;
    } else if (const std::size_t length = Utf8SequenceLength(bytes.substr(i)); length != 0) {
      const std::string_view sequence = bytes.substr(i, length);
      out.append(Refused(refuses, CodePoint(sequence)) ? kReplacement : sequence);
      i += length;
    } else {
      AppendTwoByteCode(out, byte);
      ++i;
    }
  }
  return i == bytes.size();
}

}  // namespace

void AppendJsonString(std::string& out, std::string_view bytes) {
  static constexpr char kHex[] = "0123456789abcdef";
  AppendAsUtf8(out, bytes, Refuses::Nothing, [&out](unsigned char byte) {
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
  AppendAsUtf8(out, bytes, Refuses::XmlNonCharacters, [&out](unsigned char byte) {
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

void AppendDrawnText(std::string& out, std::string_view bytes, std::size_t max_characters) {
  const bool whole = AppendAsUtf8(
      out, bytes.substr(0, bytes.find('\0')), Refuses::NonCharacters,
      [&out](unsigned char byte) {
        if (byte >= 0x20) {
          out.push_back(static_cast<char>(byte));
          return;
        }
        AppendControlPicture(out, byte);
      },
      max_characters);
  if (!whole) out.append(kEllipsis);
}

std::string_view TrimBlanks(std::string_view text) {
  const auto blank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace tervela
