#pragma once

#include "palette.h"

#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <optional>

namespace korvelan {

// Text colour of an authorisation box: red for exactly "Interdit", black for anything else.
quint32 authorisationColour(QStringView text);

// Colours that a risk class gives to its box and to the caption "Risque" above it. An empty caption
// colour means the caption keeps the colour it has. The caption is to be set before the box.
struct RiskColours {
    quint32 box = colour::Red;
    std::optional<quint32> caption;

    friend bool operator==(const RiskColours &, const RiskColours &) = default;
};

// The colours of a risk box text: "1" to "4" and "?" have their own; any other text (the empty one
// included) turns the box red and leaves the caption alone. Exact, case-sensitive comparison.
RiskColours riskColours(QStringView text);

// The legend of the risk classes: five lines joined by CR LF.
QString riskLegendText();

// The legend of the daily intake: one line.
QString dailyIntakeLegendText();

} // namespace korvelan
