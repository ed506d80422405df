#pragma once

#include <QByteArrayView>

namespace korvelan {

// Quick searches over the raw bytes of a resource. The resources are decoded one character per
// byte, so a position found in the bytes is the same position in the decoded text.

// Position of the next CR LF at or after `from`, or -1 when there is none.
qsizetype findLineEnd(QByteArrayView bytes, qsizetype from);

// Writes the positions of the first `max` bytes equal to `c` in [from, to) to `out`, in order, and
// returns how many it found.
int findFirst(QByteArrayView bytes, qsizetype from, qsizetype to, char c, qsizetype *out, int max);

} // namespace korvelan
