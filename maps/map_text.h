#pragma once

#include <string>
#include <string_view>

namespace tervela {

// Point texts are bytes in no declared encoding. Both map formats need
// UTF-8: well-formed UTF-8 sequences are kept as they are, and every other
// byte from 0x80 to 0xFF is taken as the ISO 8859-1 character of that code
// (U+0080 to U+00FF), which carries texts typed in a Western code page
// readably and keeps every byte's value.

// Appends `bytes` as the inside of a JSON string (RFC 8259): quotation mark
// and backslash escaped, control bytes 0 to 31 and DEL as \u00XX.
void AppendJsonString(std::string& out, std::string_view bytes);

// Appends `bytes` as XML 1.0 character data: & < > " ' as entity references.
// XML 1.0 admits no control character but tab, LF and CR, not even as a
// reference, so the others (1 to 31, and 0) become their Control Pictures
// symbol U+2400 + code, which shows what the byte was.
void AppendXmlText(std::string& out, std::string_view bytes);

// Appends `bytes` as UTF-8 text to be drawn: the control bytes 1 to 31 as
// their Control Pictures symbol, a NUL byte ending the text.
void AppendDrawnText(std::string& out, std::string_view bytes);

// `text` without the bytes 0 to 32 at its start and end.
std::string_view TrimBlanks(std::string_view text);

}  // namespace tervela
