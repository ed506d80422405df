#pragma once

#include "rtflexer.h"
#include "rtfreader.h"

#include <QByteArray>
#include <QImage>

namespace korvelan::rtf {

// The picture of a \pict group: its PNG or JPEG bytes, given in hex or after \bin, and the size
// it is shown at. Other kinds of picture are left out, and so is any picture past the limits.
class PictureReader {
public:
    explicit PictureReader(const RtfLimits &limits) : m_limits(limits) { }

    void begin();
    void word(Word word, int param);
    void hexBytes(const uchar *bytes, qsizetype count);
    void binaryBytes(QByteArrayView bytes);

    struct Picture {
        QImage image;
        int number = 0;  // the pictures tried so far, this one included
        qreal width = 0; // logical pixels
        qreal height = 0;
    };
    // Decodes the picture just read; false when it is left out.
    bool finish(Picture &picture);

private:
    const RtfLimits &m_limits;
    QByteArray m_bytes;
    QByteArray m_format; // "-" for a kind that is not read
    bool m_tooBig = false;
    int m_nibble = -1;
    int m_goalWidth = 0, m_goalHeight = 0; // twips
    int m_scaleX = 100, m_scaleY = 100;
    int m_pictures = 0;
    qint64 m_pixels = 0;
};

} // namespace korvelan::rtf
