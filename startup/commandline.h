#pragma once

#include <QStringList>

#include <optional>

namespace korvelan {

// The arguments meant for the program: `arguments` (without the program's own name) once the
// toolkit's options (-platform, -style, -reverse, ...) and their values are taken out. The windows'
// toolkit reads those itself.
QStringList withoutToolkitOptions(const QStringList &arguments);

// Answers on the terminal when the command line asks for it: help, version, an additive's card, a
// search, an export, or a message for a bad use. Needs no display and opens no window; the caller
// ends the program with the code returned. Returns nothing when there is nothing for the program in
// the arguments (none, or the toolkit's options only): the windows are to open as usual.
std::optional<int> runCommandLine(int argc, char *argv[]);

} // namespace korvelan
