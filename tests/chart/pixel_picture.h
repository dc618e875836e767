// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-image comparisons for pixel tests: an image is written as one text
// row per pixel row, so a test states every pixel of a small image.
#pragma once

#include <map>
#include <string>

#include <QImage>

#include "chart/TChartCanvas.h"
#include "chart/colors.h"

namespace tesmera::testing_support {

// '.' white, '#' black, and the letters of `legend` for other colours; '?'
// for any colour not named.
inline std::string Picture(const QImage& image, const std::map<TColor, char>& legend = {}) {
    std::string text;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const TColor color = FromQColor(image.pixelColor(x, y));
            if (color == clWhite) {
                text += '.';
            } else if (color == clBlack) {
                text += '#';
            } else {
                const auto named = legend.find(color);
                text += named != legend.end() ? named->second : '?';
            }
        }
        text += '\n';
    }
    return text;
}

// A white surface of the given size.
inline TCanvasSurface WhiteSurface(int width, int height) {
    TCanvasSurface surface{QImage(width, height, QImage::Format_RGB32), {}};
    surface.image.fill(Qt::white);
    return surface;
}

// The smallest rectangle holding every pixel that is not white (empty when none).
inline TRect InkBounds(const QImage& image) {
    TRect bounds{image.width(), image.height(), 0, 0};
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != qRgb(255, 255, 255)) {
                bounds = {std::min(bounds.left, x), std::min(bounds.top, y),
                          std::max(bounds.right, x + 1), std::max(bounds.bottom, y + 1)};
            }
        }
    }
    return bounds.IsEmpty() ? TRect{} : bounds;
}

}  // namespace tesmera::testing_support
