#pragma once

namespace korvelan {

// Opens /dev/null on whichever of descriptors 0, 1 and 2 is closed, as `korvelan 2>&-` leaves them.
// Run first thing at start: a closed descriptor would otherwise go to the next file opened (the
// display's connection, the lock file), and the first message meant for standard error would be
// written into it.
void openClosedStandardStreams();

} // namespace korvelan
