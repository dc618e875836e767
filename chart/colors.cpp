// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/colors.h"

#include <QGuiApplication>
#include <QPalette>

namespace tesmera {

namespace {

QColor SystemColor(TColor color) {
    const QPalette palette = QGuiApplication::palette();
    switch (color) {
        case clBtnShadow:
            return palette.color(QPalette::Dark);
        case clBtnHighlight:
            return palette.color(QPalette::Light);
        default:
            return palette.color(QPalette::Button);
    }
}

}  // namespace

QColor ToQColor(TColor color) {
    if (IsSystemColor(color)) {
        return SystemColor(color);
    }
    return QColor(RedOf(color), GreenOf(color), BlueOf(color));
}

TColor ToRGBColor(TColor color) {
    return IsSystemColor(color) ? FromQColor(ToQColor(color)) : color;
}

TColor FromQColor(const QColor& color) {
    return RGB(static_cast<std::uint8_t>(color.red()), static_cast<std::uint8_t>(color.green()),
               static_cast<std::uint8_t>(color.blue()));
}

}  // namespace tesmera
