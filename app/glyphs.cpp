// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/glyphs.h"

#include <array>
#include <string_view>

namespace tesmera {

namespace {

// One character per pixel; '.' is transparent.
QRgb PaletteColor(char code) {
    switch (code) {
        case 'k':
            return qRgb(0, 0, 0);
        case 'g':
            return qRgb(128, 128, 128);
        case 's':
            return qRgb(192, 192, 192);
        case 'w':
            return qRgb(255, 255, 255);
        case 'y':
            return qRgb(255, 255, 0);
        case 'o':
            return qRgb(128, 128, 0);
        case 'l':
            return qRgb(255, 255, 192);
        case 'n':
            return qRgb(0, 0, 128);
        case 'r':
            return qRgb(255, 0, 0);
        case 'b':
            return qRgb(0, 0, 255);
        default:
            return qRgba(0, 0, 0, 0);
    }
}

template <std::size_t Rows>
QImage PixelArt(const std::array<std::string_view, Rows>& rows) {
    QImage image(static_cast<int>(rows[0].size()), static_cast<int>(Rows), QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            image.setPixel(x, y, PaletteColor(rows[y][x]));
        }
    }
    return image;
}

}  // namespace

QImage LoadGlyph() {
    static constexpr std::array<std::string_view, 19> rows = {
        "...................", "...........nnn.....", "..........n...n....", ".........n.....n.n.",
        ".........n......nn.", ".........n.....nnn.", "..kkkk.............", ".kyyyyk............",
        ".kyyyyykkkkkkk.....", ".kyyyyyyyyyyyk.....", ".kyyyyyyyyyyyk.....", ".kyyyykkkkkkkkkkkk.",
        ".kyyykllllllllllk..", ".kyykllllllllllk...", ".kyyklllllllllk....", ".kyklllllllllk.....",
        ".kkllllllllllk.....", ".kkkkkkkkkkkk......", "...................",
    };
    return PixelArt(rows);
}

QImage ComputeGlyph() {
    static constexpr std::array<std::string_view, 16> rows = {
        "................", "..kkkkkkkkkkk...", "..kgggggggggk...", "..kgsssssssgk...",
        "..kgskskkskgk...", "..kgsssssssgk...", "..kgggggggggk...", "..kgwwgwwgwwk...",
        "..kgggggggggk...", "..kgwwgwwgwwk...", "..kgggggggggk...", "..kgwwgwwgwwk...",
        "..kgggggggggk...", "..kgwwgwwgrrk...", "..kgggggggggk...", "..kkkkkkkkkkk...",
    };
    return PixelArt(rows);
}

QImage RecordingGlyph() {
    static constexpr std::array<std::string_view, 16> rows = {
        "................", ".......n........", ".......n...n....", "...n...n...n....",
        "...n...n.n.n....", "...n.n.n.n.n.n..", ".n.n.n.n.n.n.n..", ".n.n.n.n.n.n.n.n",
        ".n.n.n.n.n.n.n.n", ".n.n.n.n.n.n.n..", "...n.n.n.n.n.n..", "...n...n.n.n....",
        "...n...n...n....", ".......n...n....", ".......n........", "................",
    };
    return PixelArt(rows);
}

// The classic embossed look of a disabled glyph: every dark pixel becomes
// grey with a white highlight one pixel down and right.
QImage DisabledGlyph(const QImage& glyph) {
    QImage disabled(glyph.size(), QImage::Format_ARGB32);
    disabled.fill(Qt::transparent);
    const auto isDark = [&](int x, int y) {
        const QRgb pixel = glyph.pixel(x, y);
        return qAlpha(pixel) != 0 && qGray(pixel) < 160;
    };
    for (int y = 0; y < glyph.height(); ++y) {
        for (int x = 0; x < glyph.width(); ++x) {
            if (isDark(x, y) && x + 1 < glyph.width() && y + 1 < glyph.height()) {
                disabled.setPixel(x + 1, y + 1, qRgb(255, 255, 255));
            }
        }
    }
    for (int y = 0; y < glyph.height(); ++y) {
        for (int x = 0; x < glyph.width(); ++x) {
            if (isDark(x, y)) {
                disabled.setPixel(x, y, qRgb(128, 128, 128));
            }
        }
    }
    return disabled;
}

QImage WindowIconImage() {
    QImage icon(32, 32, QImage::Format_ARGB32);
    icon.fill(qRgb(255, 255, 255));
    for (int i = 0; i < 32; ++i) {
        for (const auto& [x, y] :
             {std::pair{i, 0}, std::pair{i, 31}, std::pair{0, i}, std::pair{31, i}}) {
            icon.setPixel(x, y, qRgb(128, 128, 128));
        }
    }
    // Ten bars of falling height, like a spectrum of harmonics.
    static constexpr std::array<int, 10> heights = {26, 22, 24, 17, 19, 13, 15, 9, 11, 6};
    for (int bar = 0; bar < 10; ++bar) {
        const QRgb color = bar % 2 == 0 ? qRgb(255, 0, 0) : qRgb(0, 0, 255);
        for (int x = 2 + 3 * bar; x < 4 + 3 * bar; ++x) {
            for (int y = 29 - heights[bar] + 1; y < 30; ++y) {
                icon.setPixel(x, y, color);
            }
        }
    }
    return icon;
}

}  // namespace tesmera
