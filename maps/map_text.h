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

// Appends `bytes` as one field of a CSV record (RFC 4180) in UTF-8: the
// control bytes 0 to 31 as their Control Pictures symbol (a point's text
// holds no line break; a stray CR or NUL would split or cut the record in
// some readers), the whole field in quotation marks, each one inside
// doubled, where it holds a comma, a quotation mark or a blank at either end.
void AppendCsvField(std::string& out, std::string_view bytes);

// Appends `bytes` as the string of a DXF R12 TEXT entity in a drawing of
// code page ANSI_1252, as CAD programs read it: a character Windows-1252 has
// as its byte there, any other as \U+XXXX (UTF-16, a character beyond U+FFFF
// as its surrogate pair), a control byte in the format's caret form (^A for
// 1, ^@ for 0) and a caret itself as "^ ". A percent sign before another,
// and a backslash before "U+" or "M+", are written as \U+XXXX too, so that
// they start none of the format's control sequences. DXF strings hold 255
// bytes at most: the characters past that are left out, never half of one.
void AppendDxfText(std::string& out, std::string_view bytes);

// `text` without the bytes 0 to 32 at its start and end.
std::string_view TrimBlanks(std::string_view text);

}  // namespace tervela
