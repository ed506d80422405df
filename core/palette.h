#pragma once

#include <QtGlobal>

namespace korvelan {

// Every named colour of the program, written 0x00BBGGRR: red in the low byte. The widgets turn
// them into their own type with bgrColor().
namespace colour {
inline constexpr quint32 Black = 0x000000;
inline constexpr quint32 White = 0xFFFFFF;
inline constexpr quint32 Grey = 0x808080;
inline constexpr quint32 DarkGrey = 0x404040;
inline constexpr quint32 Silver = 0xC0C0C0;     // the tab button of the page shown
inline constexpr quint32 LightGrey = 0xE0E0E0;  // window, pages, the tab buttons of hidden pages
inline constexpr quint32 ButtonGrey = 0xE3DFE0; // the other push buttons
inline constexpr quint32 Green = 0x008000;
inline constexpr quint32 Orange = 0x0080FF; // red 255, green 128, blue 0
inline constexpr quint32 Magenta = 0xFF00FF;
inline constexpr quint32 Red = 0x0000FF;
inline constexpr quint32 DarkRed = 0x000080;
inline constexpr quint32 Blue = 0xFF0000;
inline constexpr quint32 DarkBlue = 0xC00000;
inline constexpr quint32 FocusBlue = 0xA05030; // the focus frame of a push button
inline constexpr quint32 Brown = 0x004080;     // red 128, green 64, blue 0
} // namespace colour

} // namespace korvelan
