#pragma once

#include <QString>

namespace korvelan::rtf {

// The characters of bytes 0x80 to 0xFF in a Windows or DOS code page given by its number
// (1250, 1251, 1252, 1253, 1254, 1257, 437, 850 or 10000 for Mac Roman). Any other number gets
// Windows-1252. The table has 128 entries.
const char16_t *codePageUpperHalf(int codePage);

// The code page of a font's \fcharset, or 0 for one that has none here.
int charsetToCodePage(int charset);

// Fonts that draw pictures at the places of letters.
enum class SymbolKind : quint8 { None, Symbol, Wingdings, OtherSymbol };

// What a byte of a symbol font shows, as a Unicode character; bytes without one read as
// Windows-1252.
char16_t symbolCharacter(SymbolKind kind, unsigned byte);

// Appends a code point, as two UTF-16 units when it lies past the first plane.
void appendCodePoint(QString &text, char32_t c);

} // namespace korvelan::rtf
