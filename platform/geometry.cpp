#include "geometry.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImageReader>
#include <QScreen>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace korvelan {

int twipsToPixels(double twips)
{
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}

QRect twipsRect(double left, double top, double width, double height)
{
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height));
}

QColor bgrColor(quint32 value)
{
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

QPointF placeOnScreen(QSizeF screenTwips, QSizeF windowTwips, double verticalDivisor)
{
    // On a screen smaller than the window, centring would push its caption and its left edge off the
    // screen, out of reach: the window then starts at the screen's edge and overflows right and down.
    return QPointF(std::max(0.0, (screenTwips.width() - windowTwips.width()) / 2.0),
                   std::max(0.0, (screenTwips.height() - windowTwips.height()) / verticalDivisor));
}

QFont programFont(FontFace face, double points, bool bold)
{
    // Liberation Sans and Mono have the metrics of Arial and Courier New; DejaVu Sans comes from the
    // same design family as Verdana and is as wide; Carlito has the metrics of Calibri. MS Sans Serif
    // was a small sans-serif screen font: Liberation Sans at the same size fits its place.
    QStringList families;
    switch (face) {
    case FontFace::Arial:
    case FontFace::MsSansSerif: families = {u"Arial"_s, u"Liberation Sans"_s, u"DejaVu Sans"_s}; break;
    case FontFace::CourierNew: families = {u"Courier New"_s, u"Liberation Mono"_s, u"DejaVu Sans Mono"_s}; break;
    case FontFace::Verdana: families = {u"Verdana"_s, u"DejaVu Sans"_s, u"Liberation Sans"_s}; break;
    case FontFace::Calibri: families = {u"Calibri"_s, u"Carlito"_s, u"Liberation Sans"_s}; break;
    case FontFace::FixedPitch: families = {u"Liberation Mono"_s, u"DejaVu Sans Mono"_s, u"Monospace"_s}; break;
    }
    QFont font;
    font.setFamilies(families);
    if (face == FontFace::FixedPitch || face == FontFace::CourierNew)
        font.setStyleHint(QFont::Monospace);
    // Sizes are given in points at 96 dots per inch; as pixels they scale with the rest of the layout.
    font.setPixelSize(static_cast<int>(std::lround(points * 96.0 / 72.0)));
    font.setBold(bold);
    return font;
}

QFont listFont()
{
    QFont font = programFont(FontFace::FixedPitch, 9);
    const double advance = QFontMetricsF(font).horizontalAdvance(u'M');
    font.setLetterSpacing(QFont::AbsoluteSpacing, 8.0 - advance);
    return font;
}

QImage readPicture(const QString &path)
{
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

QIcon pictureIcon(const QString &path)
{
    QIcon icon;
    const QImage picture = readPicture(path);
    if (picture.isNull())
        return icon;
    icon.addPixmap(QPixmap::fromImage(picture));
    // The same twin the toolkit would pick for the file: only a scaled screen needs it.
    if (qApp->devicePixelRatio() > 1.0 && path.endsWith(u".png"_s)) {
        const QImage twin = readPicture(path.chopped(4) + u"@2x.png"_s);
        if (!twin.isNull())
            icon.addPixmap(QPixmap::fromImage(twin));
    }
    return icon;
}

QPixmap programPicture(const QString &path, QSize size, qreal devicePixelRatio)
{
    // A plain QPixmap would load the 1x file only and be blown up, blurred, on a scaled screen; an
    // icon knows the "@2x" variants of its file.
    const QIcon icon = pictureIcon(path);
    if (icon.availableSizes().isEmpty())
        return {};
    return icon.pixmap(size, devicePixelRatio);
}

QSize screenSize()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize(1920, 1080);
}

QRect availableScreenArea()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1920, 1080);
}

} // namespace korvelan
