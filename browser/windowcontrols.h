#pragma once

#include "controltable.h"

#include <QIcon>
#include <QRect>
#include <QSize>

namespace korvelan {

class ColourButton;

// The quit button CmdQuitte, at the right end of the bottom row.
Controls buildQuitButton(QWidget *window);
// Tab button CmdOnglet(n) of page n (from 1), in its place in the row along the bottom.
ColourButton *buildTabButton(QWidget *window, int n, const QString &caption, const QString &tooltip);

// The controls parked past the visible area, hidden: the picture store ImgM, which holds the logo
// of the about page, and the marker lines LinHauteur and LinLargeur, which give the window's size.
Controls buildParkedControls(QWidget *window);

// Publishes the widgets of the class as windows, so that screen readers announce them as such.
void publishAsWindow(const char *className);

// The program's icon, in the sizes the desktop asks for.
QIcon programIcon();

// The window's place on a screen of `screen` logical pixels and the size of its client area, from
// the places of the two marker lines.
QRect windowPlace(QRect heightMarker, QRect widthMarker, QSize screen);

// The window's place and client area `place`, made to fit, with its frame, the free area of the
// screen `available`: unchanged when it fits there, else moved in and made smaller.
QRect fitWindow(QRect place, QRect available);
// The largest client area whose window, with its frame, fits the free area `available`.
QSize clientRoom(QRect available);

} // namespace korvelan
