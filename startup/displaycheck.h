#pragma once

#include <QByteArrayList>
#include <QProcessEnvironment>
#include <QString>

namespace korvelan {

// Why the toolkit could not open any window, given the command line and the environment: the
// French text for the user, or a null string when a window system can be reached. Only what the
// toolkit would try is looked at: the platform named by "-platform" or QT_QPA_PLATFORM (offscreen,
// minimal and the like need no display), else the X display and the Wayland display of the session.
QString displayProblem(const QByteArrayList &arguments, const QProcessEnvironment &environment);

// Called before the application object is made: with no window system to reach, or when the one
// found cannot be opened after all, ends the program with exit code 1 and one line in French on
// standard error, rather than the toolkit's abort.
void requireDisplay(int argc, char *argv[]);

} // namespace korvelan
