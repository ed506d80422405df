#pragma once

namespace korvelan::rtf {

// The characters of bytes 0x80 to 0xFF in a Windows or DOS code page given by its number
// (1250, 1251, 1252, 1253, 1254, 1257, 437, 850 or 10000 for Mac Roman). Any other number gets
// Windows-1252. The table has 128 entries.
const char16_t *codePageUpperHalf(int codePage);

} // namespace korvelan::rtf
