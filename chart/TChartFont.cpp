// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/TChartFont.h"

#include <utility>

#include <QFontInfo>
#include <QGuiApplication>
#include <QLocale>

#include "chart/chart_math.h"

namespace tesmera {

namespace {

constexpr int PixelsPerInch = 96;
constexpr int PointsPerInch = 72;
constexpr int DefaultPoints = 8;

int PointsToPixels(int points) {
    return MulDiv(points, PixelsPerInch, PointsPerInch);
}

}  // namespace

TChartFont::TChartFont(QString name, int pixelHeight, TColor color)
    : name_(std::move(name)), pixelHeight_(pixelHeight), color_(color) {}

void TChartFont::SetSize(int points) {
    SetPixelHeight(PointsToPixels(points));
}

QFont TChartFont::ToQFont() const {
    QFont font(name_);
    font.setPixelSize(pixelHeight_ > 0 ? pixelHeight_ : 1);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

TChartFont DefaultChartFont() {
    if (QLocale::system().language() == QLocale::Japanese) {
        return TChartFont("MS Sans Serif", QFontInfo(QGuiApplication::font()).pixelSize(), clBlack);
    }
    return TChartFont("Arial", PointsToPixels(DefaultPoints), clBlack);
}

}  // namespace tesmera
