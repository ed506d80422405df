#pragma once

#include "additive.h"
#include "keywords.h"

namespace korvelan {

// The data the program reads everywhere: filled once at start-up, before the main window exists,
// and read-only for the rest of the run.
struct ProgramData {
    AdditiveTable additives;
    KeywordIndex keywords;
};

} // namespace korvelan
