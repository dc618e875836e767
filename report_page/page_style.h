// SPDX-License-Identifier: GPL-3.0-or-later
// The clinical page's fonts and colours. Sizes are in the page's own
// coordinates (tenths of a millimetre): 35 is about 10 point.
#pragma once

#include <QColor>
#include <QFont>
#include <QPainter>

namespace tesmera {

struct PageFont {
    int Size = 34;
    bool Bold = false;
    QColor Color{0, 0, 0};

    // Liberation Sans, which the package depends on, so a page looks the
    // same on every machine that installs it.
    void Apply(QPainter& painter) const {
        QFont font(QStringLiteral("Liberation Sans"));
        font.setPixelSize(Size);
        font.setBold(Bold);
        painter.setFont(font);
        painter.setPen(Color);
    }
};

inline const PageFont TitleFont{64, true, QColor(0, 0, 0)};
inline const PageFont HeadingFont{40, true, QColor(0, 0, 0)};
inline const PageFont StrongFont{36, true, QColor(0, 0, 0)};
inline const PageFont BodyFont{34, false, QColor(0, 0, 0)};
inline const PageFont LabelFont{30, false, QColor(90, 90, 90)};
inline const PageFont SmallFont{28, false, QColor(90, 90, 90)};
inline const PageFont OutsideFont{34, true, QColor(190, 20, 20)};

inline const QColor RuleColor{170, 170, 170};
inline const QColor BandColor{230, 238, 250};

}  // namespace tesmera
