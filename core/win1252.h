#pragma once

#include <QByteArrayView>
#include <QString>

namespace korvelan {

// The character that one Windows-1252 byte stands for. The five bytes that the code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control of the same value, as Windows does.
char16_t windows1252ToUnicode(unsigned char byte);

// Decodes a whole byte sequence, one character per byte.
QString decodeWindows1252(QByteArrayView bytes);

} // namespace korvelan
