#pragma once

#include <QString>

namespace korvelan {

// `count` different characters, none of them allowed in a search word.
inline QString distinctDisallowed(int count)
{
    QString text;
    for (char16_t c = 0x100; text.size() < count; ++c) {
        if (!QChar::isSurrogate(c))
            text.append(QChar(c));
    }
    return text;
}

} // namespace korvelan
