#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <optional>

namespace korvelan {

// Colours as 0x00BBGGRR values, red in the low byte; the widgets turn them into their own type.
namespace colour {
inline constexpr quint32 Black = 0x000000;
inline constexpr quint32 Grey = 0x808080;
inline constexpr quint32 Green = 0x008000;
inline constexpr quint32 Orange = 0x0080FF;   // red 255, green 128, blue 0
inline constexpr quint32 Magenta = 0xFF00FF;
inline constexpr quint32 Red = 0x0000FF;
inline constexpr quint32 DarkRed = 0x000080;
inline constexpr quint32 Blue = 0xFF0000;
inline constexpr quint32 DarkBlue = 0xC00000;
inline constexpr quint32 Brown = 0x004080;    // red 128, green 64, blue 0
inline constexpr quint32 White = 0xFFFFFF;

inline constexpr int red(quint32 c) { return int(c & 0xFF); }
inline constexpr int green(quint32 c) { return int((c >> 8) & 0xFF); }
inline constexpr int blue(quint32 c) { return int((c >> 16) & 0xFF); }
} // namespace colour

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
