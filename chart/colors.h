// SPDX-License-Identifier: GPL-3.0-or-later
// Colours of the chart component, stored as 0x00BBGGRR numbers so that the
// two marker values below can share the type with real colours.
#pragma once

#include <cstdint>

#include <QColor>

namespace tesmera {

using TColor = std::uint32_t;

// No colour of its own: a brush, wall or title with it is not filled; a point
// with it takes its series' colour.
constexpr TColor clDefault = 0x20000000;
// As a point colour: a null point, stored and counted but never drawn.
constexpr TColor clNone = 0x1FFFFFFF;

constexpr TColor RGB(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return static_cast<TColor>(red) | (static_cast<TColor>(green) << 8) |
           (static_cast<TColor>(blue) << 16);
}

constexpr TColor clBlack = RGB(0, 0, 0);
constexpr TColor clWhite = RGB(255, 255, 255);
constexpr TColor clBlue = RGB(0, 0, 255);
constexpr TColor clNavy = RGB(0, 0, 128);
constexpr TColor clRed = RGB(255, 0, 0);
constexpr TColor clGray = RGB(128, 128, 128);
constexpr TColor clYellow = RGB(255, 255, 0);

// System colours: resolved from the application palette when drawn, so the
// bevels follow the desktop theme.
constexpr TColor clBtnFace = 0x8000000F;
constexpr TColor clBtnShadow = 0x80000010;
constexpr TColor clBtnHighlight = 0x80000014;

constexpr bool IsSystemColor(TColor color) {
    return (color & 0xFF000000) == 0x80000000;
}

constexpr std::uint8_t RedOf(TColor color) {
    return color & 0xFF;
}
constexpr std::uint8_t GreenOf(TColor color) {
    return (color >> 8) & 0xFF;
}
constexpr std::uint8_t BlueOf(TColor color) {
    return (color >> 16) & 0xFF;
}

// Plain RGB colours convert as they are and system colours through the
// application palette; clDefault and clNone have no pixel value and must be
// resolved by the caller first.
QColor ToQColor(TColor color);
// The same colour as a plain RGB TColor (system colours resolved).
TColor ToRGBColor(TColor color);
TColor FromQColor(const QColor& color);

}  // namespace tesmera
