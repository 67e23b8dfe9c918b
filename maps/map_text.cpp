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

// The code point of the well-formed UTF-8 sequence of `length` bytes at the
// start of `bytes`.
unsigned DecodeUtf8(std::string_view bytes, std::size_t length) {
  static constexpr unsigned kLeadMask[] = {0, 0, 0x1F, 0x0F, 0x07};
  unsigned code = static_cast<unsigned char>(bytes[0]) & kLeadMask[length];
  for (std::size_t i = 1; i < length; ++i) code = code << 6 | (static_cast<unsigned char>(bytes[i]) & 0x3F);
  return code;
}

// Calls `character(code)` for every character of `bytes` read as the map
// files read them: well-formed UTF-8 as its code point, every other byte as
// its ISO 8859-1 character.
template <class Character>
void ForEachCharacter(std::string_view bytes, Character character) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    const std::size_t length = Utf8SequenceLength(bytes.substr(i));
    character(length == 0 ? static_cast<unsigned char>(bytes[i]) : DecodeUtf8(bytes.substr(i), length));
    i += length == 0 ? 1 : length;
  }
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

void AppendCsvField(std::string& out, std::string_view bytes) {
  std::string field;
  bool quoted = !bytes.empty() && (bytes.front() == ' ' || bytes.back() == ' ');
  AppendAsUtf8(field, bytes, Refuses::Nothing, [&](unsigned char byte) {
    if (byte < 0x20) {
      AppendControlPicture(field, byte);
      return;
    }
    if (byte == ',' || byte == '"') quoted = true;
    if (byte == '"') field.push_back('"');
    field.push_back(static_cast<char>(byte));
  });
  if (quoted) out.push_back('"');
  out.append(field);
  if (quoted) out.push_back('"');
}

void AppendDxfText(std::string& out, std::string_view bytes) {
  // The characters of Windows-1252's bytes 0x80 to 0x9F; 0 where it has none.
  static constexpr unsigned kWindows1252High[32] = {
      0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
  static constexpr char kHex[] = "0123456789ABCDEF";
  const auto escape = [&out](unsigned unit) {
    out.append("\\U+");
    for (int shift = 12; shift >= 0; shift -= 4) out.push_back(kHex[(unit >> shift) & 0xF]);
  };
  const auto windows_1252_byte = [](unsigned code) -> int {
    if (code >= 0xA0 && code <= 0xFF) return static_cast<int>(code);
    for (int i = 0; i < 32; ++i) {
      if (kWindows1252High[i] == code && code != 0) return 0x80 + i;
    }
    return -1;
  };
  constexpr std::size_t kMaxStringBytes = 255;
  const std::size_t start = out.size();
  // Enough characters to fill the string, and the two after them that an
  // escape looks at: a character takes at most 4 bytes.
  std::u32string characters;
  ForEachCharacter(bytes.substr(0, 4 * (kMaxStringBytes + 3)),
                   [&characters](unsigned code) { characters.push_back(code); });
  for (std::size_t i = 0; i < characters.size(); ++i) {
    const std::size_t before = out.size();
    const unsigned code = characters[i];
    const auto next = [&](std::size_t ahead) {
      return i + ahead < characters.size() ? characters[i + ahead] : 0u;
    };
    if (code < 0x20) {
      out.push_back('^');
      out.push_back(static_cast<char>(code + 0x40));
    } else if (code == '^') {
      out.append("^ ");
    } else if ((code == '%' && next(1) == '%') ||
               (code == '\\' && (next(1) == 'U' || next(1) == 'M' || next(1) == 'u' || next(1) == 'm') &&
                next(2) == '+')) {
      escape(code);
    } else if (code < 0x7F) {
      out.push_back(static_cast<char>(code));
    } else if (const int byte = windows_1252_byte(code); byte >= 0) {
      out.push_back(static_cast<char>(byte));
    } else if (code < 0x10000) {
      escape(code);
    } else {
      escape(0xD800 + ((code - 0x10000) >> 10));
      escape(0xDC00 + ((code - 0x10000) & 0x3FF));
    }
    if (out.size() - start > kMaxStringBytes) {
      out.resize(before);
      return;
    }
  }
}

std::string_view TrimBlanks(std::string_view text) {
  const auto blank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace tervela
