#include "rtfpicture.h"

#include "geometry.h"
#include "rtfstate.h"

#include <QBuffer>
#include <QImageReader>

#include <algorithm>
#include <cmath>

namespace korvelan::rtf {

void PictureReader::begin()
{
    m_bytes.clear();
    m_format.clear();
    m_tooBig = false;
    m_nibble = -1;
    m_goalWidth = m_goalHeight = 0;
    m_scaleX = m_scaleY = 100;
}

void PictureReader::word(Word word, int param)
{
    switch (word) {
    case Word::Pngblip: m_format = "png"; break;
    case Word::Jpegblip: m_format = "jpeg"; break;
    case Word::OtherBlip:
        m_format = "-";
        m_bytes.clear();
        break;
    case Word::Picwgoal: m_goalWidth = std::clamp(param, 0, kMaxTwips); break;
    case Word::Pichgoal: m_goalHeight = std::clamp(param, 0, kMaxTwips); break;
    case Word::Picscalex: m_scaleX = std::clamp(param, 1, 1000); break;
    case Word::Picscaley: m_scaleY = std::clamp(param, 1, 1000); break;
    default: break;
    }
}

void PictureReader::hexBytes(const uchar *bytes, qsizetype count)
{
    if (m_format == "-")
        return;
    for (qsizetype i = 0; i < count; ++i) {
        const int v = hexValue(bytes[i]);
        if (v < 0)
            continue;
        if (m_nibble < 0) {
            m_nibble = v;
        } else if (m_bytes.size() < m_limits.maxPictureBytes) {
            m_bytes.append(char(m_nibble * 16 + v));
            m_nibble = -1;
        } else {
            m_tooBig = true;
            return;
        }
    }
}

void PictureReader::binaryBytes(QByteArrayView bytes)
{
    if (m_format == "-")
        return;
    if (m_bytes.size() + bytes.size() <= m_limits.maxPictureBytes)
        m_bytes.append(bytes);
    else
        m_tooBig = true;
}

bool PictureReader::finish(Picture &picture)
{
    if (m_tooBig || m_bytes.isEmpty() || m_pictures >= m_limits.maxPictures ||
        (m_format != "png" && m_format != "jpeg"))
        return false;
    ++m_pictures;
    QBuffer buffer(&m_bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, m_format);
    reader.setAllocationLimit(int(qint64(m_limits.maxPicturePixels) * 4 / (1024 * 1024)) + 1);
    const QSize size = reader.size();
    const qint64 pixels = qint64(size.width()) * size.height();
    if (!size.isValid() || pixels > m_limits.maxPicturePixels || pixels > m_limits.maxTotalPicturePixels - m_pixels)
        return false;
    m_pixels += pixels;

    // The size the document asks for (in twips), else the picture's own, each scaled.
    const qreal width =
        std::clamp((m_goalWidth > 0 ? m_goalWidth / kTwipsPerPixel : size.width()) * m_scaleX / 100.0, 1.0, 4000.0);
    const qreal height =
        std::clamp((m_goalHeight > 0 ? m_goalHeight / kTwipsPerPixel : size.height()) * m_scaleY / 100.0, 1.0, 4000.0);
    // A picture shown smaller than it is is kept at the size it is shown.
    const QSize shown(int(std::ceil(width)), int(std::ceil(height)));
    if (qint64(shown.width()) * shown.height() < pixels)
        reader.setScaledSize(shown.boundedTo(size));
    QImage image;
    if (!reader.read(&image) || image.isNull())
        return false;
    picture = Picture{image, m_pictures, width, height};
    m_bytes.clear();
    return true;
}

} // namespace korvelan::rtf
