#include "win1252.h"

#include <array>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace korvelan {
namespace {

// 0x80 to 0x9F are where Windows-1252 differs from ISO 8859-1; every other byte is its own code point.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98-9F
};

bool isHighControl(unsigned char byte)
{
    return (byte & 0xE0) == 0x80;
}

} // namespace

char16_t windows1252ToUnicode(unsigned char byte)
{
    return isHighControl(byte) ? kHighControls[byte - 0x80] : char16_t(byte);
}

QString decodeWindows1252(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    auto *out = reinterpret_cast<char16_t *>(text.data());
    const auto *in = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
#ifdef __SSE2__
    // Sixteen bytes at a time: widen them as ISO 8859-1, then mend the rare bytes of 0x80 to 0x9F.
    const __m128i zero = _mm_setzero_si128();
    const __m128i topBits = _mm_set1_epi8(char(0xE0));
    const __m128i controlRange = _mm_set1_epi8(char(0x80));
    for (; i + 16 <= n; i += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i *>(in + i));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + i), _mm_unpacklo_epi8(block, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + i + 8), _mm_unpackhi_epi8(block, zero));
        const __m128i controls = _mm_cmpeq_epi8(_mm_and_si128(block, topBits), controlRange);
        for (unsigned mask = unsigned(_mm_movemask_epi8(controls)); mask; mask &= mask - 1) {
            const qsizetype at = i + __builtin_ctz(mask);
            out[at] = kHighControls[in[at] - 0x80];
        }
    }
#endif
    for (; i < n; ++i)
        out[i] = windows1252ToUnicode(in[i]);
    return text;
}

} // namespace korvelan
