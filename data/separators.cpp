#include "separators.h"

#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace korvelan {

qsizetype findLineEnd(QByteArrayView bytes, qsizetype from)
{
    const char *data = bytes.data();
    const qsizetype n = bytes.size();
    while (from < n) {
        const void *cr = std::memchr(data + from, '\r', static_cast<size_t>(n - from));
        if (!cr)
            return -1;
        const qsizetype at = static_cast<const char *>(cr) - data;
        if (at + 1 < n && data[at + 1] == '\n')
            return at;
        from = at + 1;
    }
    return -1;
}

int findFirst(QByteArrayView bytes, qsizetype from, qsizetype to, char c, qsizetype *out, int max)
{
    const char *data = bytes.data();
    to = std::min(to, bytes.size());
    int found = 0;
    qsizetype i = from;
#ifdef __SSE2__
    const __m128i wanted = _mm_set1_epi8(c);
    for (; i + 16 <= to && found < max; i += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + i));
        for (unsigned mask = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(block, wanted))); mask && found < max;
             mask &= mask - 1)
            out[found++] = i + __builtin_ctz(mask);
    }
#endif
    for (; i < to && found < max; ++i)
        if (data[i] == c)
            out[found++] = i;
    return found;
}

} // namespace korvelan
