// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/TBarSeries.h"

#include <algorithm>
#include <cstdlib>

#include "chart/TChartCanvas.h"
#include "chart/TCustomAxisPanel.h"
#include "chart/axis_scale.h"

namespace tesmera {

namespace {

const char* const BarWidthPercentMessage = "Bar Width Percent must be between 1 and 100";
const char* const OffsetPercentMessage = "Bar Offset Percent must be between -100% and 100%";

}  // namespace

TCustomBarSeries::TCustomBarSeries() {
    Marks().SetVisible(true);
    Marks().SetArrowLength(20);
    YValues().SetName(QStringLiteral("Bar"));
    YValues().SetOrder(loNone);
    const auto repaint = [this] { RequestRepaint(); };
    barPen_.SetOnChange(repaint);
    barBrush_.SetOnChange(repaint);
}

void TCustomBarSeries::DrawPoint(int valueIndex) {
    currentBarColor_ = PointColor(valueIndex);
    if (currentBarColor_ == clNone) {
        return;
    }
    const int left = PointScreenX(valueIndex);
    // Top and bottom stay as they are for a value below the origin (then top
    // is the larger row); the figure operations accept corners in any order.
    currentBarRect_ = {left, PointScreenY(valueIndex), left + barPixelWidth_,
                       OriginPixel(valueIndex)};
    PaintBar(valueIndex, std::min(currentBarRect_.top, currentBarRect_.bottom),
             std::max(currentBarRect_.top, currentBarRect_.bottom));
}

int TCustomBarSeries::Clicked(int x, int y) const {
    if (FirstShown() == -1) {
        return -1;
    }
    // The shown range is that of the last frame; points removed since then
    // are gone, not hit.
    const int last = std::min(LastShown(), NumPoints() - 1);
    for (int i = FirstShown(); i <= last; ++i) {
        const int left = PointScreenX(i);
        const int valueRow = PointScreenY(i);
        const int originRow = OriginPixel(i);
        const bool inColumns = x >= left && x <= left + barPixelWidth_;
        const bool inRows =
            y >= std::min(valueRow, originRow) && y <= std::max(valueRow, originRow);
        if (inColumns && inRows) {
            return i;
        }
    }
    return -1;
}

void TCustomBarSeries::PrepareBarPenBrush(TColor color) {
    TChartCanvas& canvas = ParentChart()->Canvas();
    canvas.ApplyChartPen(barPen_);
    canvas.Brush().color = color;
    canvas.Brush().style = barBrush_.Style();
    canvas.SetTextBackground(tbTransparent);
}

void TCustomBarSeries::PaintBarRect(TColor color, const TRect& rect) {
    TChartCanvas& canvas = ParentChart()->Canvas();
    const auto penInBarColour = [&canvas, color] {
        canvas.Pen().color = color;
        if (canvas.Pen().style == psClear) {
            canvas.Pen().style = psSolid;
        }
    };
    if (barBrush_.Style() == bsSolid) {
        if (rect.right == rect.left || rect.top == rect.bottom) {
            penInBarColour();
            canvas.DrawSegment(rect.left, rect.top, rect.right, rect.bottom);
        } else if (canvas.Pen().width > std::abs(rect.right - rect.left) ||
                   canvas.Pen().width > std::abs(rect.bottom - rect.top)) {
            penInBarColour();
            canvas.Brush().style = bsClear;
        }
    }
    canvas.PaintRect(rect.left, rect.top, rect.right, rect.bottom);
}

double TCustomBarSeries::HighestY() const {
    const double highest = TChartSeries::HighestY();
    return (useYOrigin_ && highest < yOrigin_) ? yOrigin_ : highest;
}

double TCustomBarSeries::LowestY() const {
    const double lowest = TChartSeries::LowestY();
    return (useYOrigin_ && lowest > yOrigin_) ? yOrigin_ : lowest;
}

int TCustomBarSeries::PointScreenX(int valueIndex) const {
    const BarPlacement placement{multiBar_, BarSlot(), SideBySideCount(), barPixelWidth_,
                                 offsetPercent_};
    return TChartSeries::PointScreenX(valueIndex) + BarLeftOffset(placement);
}

bool TCustomBarSeries::DrawsForward() const {
    return !ResolvedHorizAxis()->Inverted();
}

THorizMargins TCustomBarSeries::HorizMargins() {
    ComputeBarWidth();
    const int margin = BarSideMargin();
    return {margin, margin};
}

TVertMargins TCustomBarSeries::VertMargins() {
    // Marks are the only reason for vertical room, and this chart never shows
    // them; a series with visible marks would add their height here.
    return {};
}

void TCustomBarSeries::ComputeBarWidth() {
    if (customBarWidth_ != 0) {
        barPixelWidth_ = customBarWidth_;
        return;
    }
    const int count = PointCountForWidth();
    if (count <= 0) {
        barPixelWidth_ = 0;
        return;
    }
    const TChartAxis& axis = *ResolvedHorizAxis();
    const int space =
        autoBarSize_ ? RoundHalfEven(axis.AxisLength() / (axis.Maximum() + 2.0 - axis.Minimum()))
                     : SpacePerPoint(axis.AxisLength(), count, sideMargins_);
    const int sharing = multiBar_ == TMultiBar::mbSide ? std::max(1, SideBySideCount()) : 1;
    barPixelWidth_ = BarWidthFromSpace(barWidthPercent_, space, sharing);
}

int TCustomBarSeries::PointCountForWidth() const {
    // A page of points shares the axis whatever the series hold.
    if (ParentChart() != nullptr && ParentChart()->MaxPointsPerPage() > 0) {
        return ParentChart()->MaxPointsPerPage();
    }
    if (multiBar_ != TMultiBar::mbSide) {
        return NumPoints();
    }
    int largest = 0;
    for (const TCustomBarSeries* series : SeriesOfThisKind()) {
        largest = std::max(largest, series->NumPoints());
    }
    return largest;
}

int TCustomBarSeries::SideBySideCount() const {
    if (multiBar_ != TMultiBar::mbSide) {
        return 1;
    }
    return static_cast<int>(SeriesOfThisKind().size());
}

int TCustomBarSeries::BarSlot() const {
    if (multiBar_ != TMultiBar::mbSide) {
        return 1;
    }
    const auto kind = SeriesOfThisKind();
    return 1 + static_cast<int>(std::find(kind.begin(), kind.end(), this) - kind.begin());
}

int TCustomBarSeries::BarSideMargin() const {
    return tesmera::BarSideMargin(SideBySideCount(), barPixelWidth_, sideMargins_);
}

int TCustomBarSeries::OriginPixel(int /*valueIndex*/) const {
    return useYOrigin_ ? ValueToScreen(yOrigin_) : ResolvedVertAxis()->EndPixel();
}

void TCustomBarSeries::SetBarWidthPercent(int percent) {
    if (percent < 1 || percent > 100) {
        throw BarException(BarWidthPercentMessage);
    }
    SetAndNotify(barWidthPercent_, percent);
}

void TCustomBarSeries::SetOffsetPercent(int percent) {
    if (percent < -100 || percent > 100) {
        throw BarException(OffsetPercentMessage);
    }
    SetAndNotify(offsetPercent_, percent);
}

void TCustomBarSeries::SetMultiBar(TMultiBar multiBar) {
    SetShared(&TCustomBarSeries::multiBar_, multiBar);
}

void TCustomBarSeries::SetSideMargins(bool sideMargins) {
    SetShared(&TCustomBarSeries::sideMargins_, sideMargins);
}

template <class T>
void TCustomBarSeries::SetShared(T TCustomBarSeries::*field, const T& value) {
    SetAndNotify(this->*field, value);
    if (ParentChart() == nullptr) {
        return;
    }
    for (const auto& series : ParentChart()->SeriesList()) {
        if (series.get() != this && IsSameKind(*series)) {
            auto& other = static_cast<TCustomBarSeries&>(*series);
            other.SetAndNotify(other.*field, value);
        }
    }
}

std::vector<TCustomBarSeries*> TCustomBarSeries::SeriesOfThisKind() const {
    std::vector<TCustomBarSeries*> kind;
    if (ParentChart() == nullptr) {
        return kind;
    }
    for (const auto& series : ParentChart()->SeriesList()) {
        if (series->Active() && IsSameKind(*series)) {
            kind.push_back(static_cast<TCustomBarSeries*>(series.get()));
        }
    }
    return kind;
}

void TBarSeries::PaintBar(int /*valueIndex*/, int /*startRow*/, int /*endRow*/) {
    PrepareBarPenBrush(currentBarColor_);
    PaintBarRect(currentBarColor_, currentBarRect_);
}

bool TBarSeries::IsSameKind(const TChartSeries& other) const {
    return dynamic_cast<const TBarSeries*>(&other) != nullptr;
}

}  // namespace tesmera
