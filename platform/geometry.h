#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QPixmap>
#include <QPointF>
#include <QRect>
#include <QSizeF>

namespace korvelan {

// Positions and sizes of the windows are laid out in twips: 1/1440 inch, 15 twips a logical pixel.
inline constexpr double kTwipsPerPixel = 15.0;

int twipsToPixels(double twips);
QRect twipsRect(double left, double top, double width, double height);

// A colour written 0x00BBGGRR: red in the low byte.
QColor bgrColor(quint32 value);

// Where a window goes on a screen, in twips: centred horizontally, and vertically placed at
// 1/divisor of the free height (2 centres it, 4 puts it at a quarter from the top). Its top-left
// corner always stays on the screen, even when the window is larger than the screen.
QPointF placeOnScreen(QSizeF screenTwips, QSizeF windowTwips, double verticalDivisor);

// The fonts the windows are drawn in. The faces the layout was made for are not always installed;
// each is mapped here to its closest available family, so that text keeps its intended width.
enum class FontFace { Arial, CourierNew, MsSansSerif, Verdana, Calibri, FixedPitch };
QFont programFont(FontFace face, double points, bool bold = false);

// The fixed-pitch font of the additive lists: every character cell 8 pixels (120 twips) wide, so that
// the padded columns of a row stand under their headings.
QFont listFont();

// One of the program's own PNG pictures as an icon: the file itself and, on a screen with more than
// one device pixel to the logical one, its "@2x" twin. Both are read as PNG, without asking every
// image plugin of the toolkit whether it knows the file, which would load them all (JPEG, GIF...)
// for nothing. An empty icon when the resource is missing.
QIcon pictureIcon(const QString &path);
// One PNG picture of the resources, decoded; a null image when it is missing or unreadable.
QImage readPicture(const QString &path);

// A picture of the resources, `size` logical pixels large, drawn sharp at that device pixel ratio:
// on a screen with two device pixels to the logical one it comes from the picture's "@2x" variant.
// A null pixmap when the resource is missing.
QPixmap programPicture(const QString &path, QSize size, qreal devicePixelRatio);

// The size of the primary screen, in logical pixels.
QSize screenSize();
// The part of the primary screen that windows may take (without the desktop's panels), in logical pixels.
QRect availableScreenArea();

} // namespace korvelan
