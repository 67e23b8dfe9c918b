#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tervela {

// Point texts are bytes in no declared encoding. Both map formats and Cairo
// need UTF-8: well-formed UTF-8 sequences are kept as they are, and every
// other byte from 0x80 to 0xFF is taken as the ISO 8859-1 character of that
// code (U+0080 to U+00FF), which carries texts typed in a Western code page
// readably and keeps every byte's value. A character the reader of the text
// does not take becomes U+FFFD, the replacement character.

// Appends `bytes` as the inside of a JSON string (RFC 8259): quotation mark
// and backslash escaped, control bytes 0 to 31 and DEL as \u00XX. JSON takes
// every character.
void AppendJsonString(std::string& out, std::string_view bytes);

// Appends `bytes` as XML 1.0 character data: & < > " ' as entity references.
// XML 1.0 admits no control character but tab, LF and CR, not even as a
// reference, so the others (1 to 31, and 0) become their Control Pictures
// symbol U+2400 + code, which shows what the byte was; nor U+FFFE and U+FFFF.
void AppendXmlText(std::string& out, std::string_view bytes);

// Appends at most `max_characters` characters of `bytes` as UTF-8 text for
// Cairo to draw, followed by "..." (U+2026) where more follow: the control
// bytes 1 to 31 as their Control Pictures symbol, a NUL byte ending the text.
// Cairo refuses the Unicode noncharacters (U+FDD0 to U+FDEF, and the last
// two code points of every plane) with the whole text.
void AppendDrawnText(std::string& out, std::string_view bytes, std::size_t max_characters);

// `text` without the bytes 0 to 32 at its start and end.
std::string_view TrimBlanks(std::string_view text);

}  // namespace tervela
