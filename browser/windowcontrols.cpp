#include "windowcontrols.h"

#include "colourbutton.h"
#include "palette.h"

#include <QAccessibleWidget>
#include <QLabel>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace korvelan {
namespace {

using enum ControlKind;

// The window's outer size is read from two marker lines placed past its visible area. The frame
// that the desktop adds around the client area is allowed for at the usual width of a border and
// of a caption bar, so that the parked controls stay out of sight.
constexpr double kMarkerHeight = 10200, kMarkerWidth = 15060;
constexpr double kBorderTwips = 60, kCaptionTwips = 300;

// The tab buttons stand in a row along the bottom, from the left, each overlapping the one before
// it by a pixel; the quit button stands to their right.
constexpr double kTabLeft = 0, kTabTop = 9120, kTabStep = 1620, kTabWidth = 1635, kTabHeight = 555;

// The tables keep one control a line, as a layout reads: the formatter leaves them as written.
// clang-format off
const std::array<Control, 1> kButtons = {{
    {u"CmdQuitte", Button, 8760, 9210, 1575, 465, {}, colour::ButtonGrey, {}, u"Quitter ", u"Quitter le programme",
     u"Quitter"},
}};
// clang-format on

// Hidden, the parked controls keep their picture and geometry and stay out of the accessibility tree.
// clang-format off
const std::array<Control, 3> kParked = {{
    {u"ImgM", Picture, 12180, 10260, 6345, 705},
    {u"LinHauteur", Picture, 0, kMarkerHeight, 1500, 15},
    {u"LinLargeur", Picture, kMarkerWidth, 0, 15, 1500},
}};
// clang-format on

QPixmap aboutLogo(qreal devicePixelRatio)
{
    QPixmap logo = programPicture(u":/pictures/logo_about.png"_s, QSize(423, 47), devicePixelRatio);
    if (logo.isNull()) {
        logo = QPixmap(423, 47);
        logo.fill(bgrColor(colour::LightGrey));
    }
    return logo;
}

const char *windowClass = nullptr;

QAccessibleInterface *accessibleWindow(const QString &className, QObject *object)
{
    if (className == QLatin1StringView(windowClass) && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Window);
    return nullptr;
}

} // namespace

void publishAsWindow(const char *className)
{
    if (!windowClass)
        QAccessible::installFactory(accessibleWindow);
    windowClass = className;
}

Controls buildQuitButton(QWidget *window)
{
    return buildControls(window, kButtons);
}

ColourButton *buildTabButton(QWidget *window, int n, const QString &caption, const QString &tooltip)
{
    const QString name = indexed(u"CmdOnglet", n);
    const auto text = [](const QString &s) { return reinterpret_cast<const char16_t *>(s.utf16()); };
    const Control button{.name = text(name),
                         .kind = Button,
                         .left = kTabLeft + kTabStep * (n - 1),
                         .top = kTabTop,
                         .width = kTabWidth,
                         .height = kTabHeight,
                         .colour = colour::Silver,
                         .text = text(caption),
                         .tooltip = text(tooltip),
                         .accessibleName = text(caption)};
    return buildControls(window, std::span(&button, 1)).get<ColourButton>(name);
}

Controls buildParkedControls(QWidget *window)
{
    const Controls parked = buildControls(window, kParked);
    auto *store = parked.get<QLabel>(u"ImgM"_s);
    store->setPixmap(aboutLogo(window->devicePixelRatio()));
    parked.get<QLabel>(u"LinHauteur"_s)->setFrameShape(QFrame::HLine);
    parked.get<QLabel>(u"LinLargeur"_s)->setFrameShape(QFrame::VLine);
    for (const char16_t *name : {u"ImgM", u"LinHauteur", u"LinLargeur"})
        parked.get(QString::fromUtf16(name))->hide();
    return parked;
}

QIcon programIcon()
{
    // The resources hold the icon as pictures, one for each size. The window system is handed every
    // size the icon has, decoded: the window's icon stops at 64 pixels (a caption, a task bar, a window
    // switcher, twice as large on a doubled screen), and the larger pictures serve only the desktop's
    // launcher, which reads the installed files. Decoded, the 128 and 256 pixel ones took 320 kB.
    // Each is read as PNG, without asking every image plugin whether it knows the file.
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64}) {
        const QImage picture = readPicture(u":/pictures/korvelan_%1.png"_s.arg(size));
        if (picture.size() == QSize(size, size))
            icon.addPixmap(QPixmap::fromImage(picture));
    }
    return icon;
}

QRect windowPlace(QRect heightMarker, QRect widthMarker, QSize screen)
{
    // The outer size comes from the marker lines; the client area is that less the frame.
    const double outerWidth = widthMarker.x() * kTwipsPerPixel;
    const double outerHeight = heightMarker.y() * kTwipsPerPixel;
    const QPointF place = placeOnScreen(QSizeF(screen.width() * kTwipsPerPixel, screen.height() * kTwipsPerPixel),
                                        QSizeF(outerWidth, outerHeight), 2.0);
    return {twipsToPixels(place.x()), twipsToPixels(place.y()), twipsToPixels(outerWidth - 2 * kBorderTwips),
            twipsToPixels(outerHeight - 2 * kBorderTwips - kCaptionTwips)};
}

namespace {
QSize frameSize()
{
    const int border = twipsToPixels(kBorderTwips), caption = twipsToPixels(kCaptionTwips);
    return {2 * border, 2 * border + caption};
}
} // namespace

QSize clientRoom(QRect available)
{
    return available.size() - frameSize();
}

QRect fitWindow(QRect place, QRect available)
{
    const QSize frame = frameSize();
    const QRect outer(place.topLeft(), place.size() + frame);
    if (available.isEmpty() || available.contains(outer))
        return place;
    const QSize size = outer.size().boundedTo(available.size());
    const int left = std::clamp(outer.left(), available.left(), available.left() + available.width() - size.width());
    const int top = std::clamp(outer.top(), available.top(), available.top() + available.height() - size.height());
    return {left, top, size.width() - frame.width(), size.height() - frame.height()};
}

} // namespace korvelan
