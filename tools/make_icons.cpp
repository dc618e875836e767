// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the window's icon at the icon theme's sizes:
//   make_icons <folder>  ->  <folder>/<N>x<N>/apps/tesmera.png
// The icon is 32 x 32 pixel art, so every size is first enlarged by whole
// pixels (each pixel a sharp square) and only then smoothed down to the size.
#include <cstdio>

#include <QDir>
#include <QImage>
#include <QString>

#include "app/glyphs.h"

namespace {

constexpr int IconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

QImage IconAtSize(const QImage& art, int size) {
    const int factor = (size + art.width() - 1) / art.width();
    const QImage sharp =
        art.scaled(art.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    if (sharp.width() == size) {
        return sharp;
    }
    return sharp.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_icons <folder>\n");
        return 2;
    }
    const QImage art = tesmera::WindowIconImage();
    const QDir root(QString::fromLocal8Bit(argv[1]));
    for (const int size : IconSizes) {
        const QString folder = QStringLiteral("%1x%1/apps").arg(size);
        const QString file = root.filePath(folder + QStringLiteral("/tesmera.png"));
        if (!root.mkpath(folder) || !IconAtSize(art, size).save(file, "PNG")) {
            std::fprintf(stderr, "make_icons: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
