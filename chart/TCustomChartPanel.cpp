// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/TCustomChartPanel.h"

#include <algorithm>

#include "chart/chart_math.h"

namespace tesmera {

namespace {

struct BevelColors {
    TColor topLeft;
    TColor bottomRight;
};

// A lowered bevel is dark on top and left, a raised one light there.
BevelColors ColorsOf(TPanelBevel bevel) {
    if (bevel == bvLowered) {
        return {clBtnShadow, clBtnHighlight};
    }
    return {clBtnHighlight, clBtnShadow};
}

// Draws `width` rings inside `rect`, shrinking it by each: the top and left
// edges in one colour, the bottom and right edges in the other, which also
// takes the bottom-left corner pixel.
void DrawBevel(TChartCanvas& canvas, TRect& rect, BevelColors colors, int width) {
    --rect.right;
    --rect.bottom;
    for (int ring = 0; ring < width; ++ring) {
        canvas.Pen().color = colors.topLeft;
        canvas.PenMoveTo(rect.left, rect.bottom);
        canvas.PenLineTo(rect.left, rect.top);
        canvas.PenLineTo(rect.right, rect.top);
        canvas.Pen().color = colors.bottomRight;
        canvas.PenLineTo(rect.right, rect.bottom);
        canvas.PenLineTo(rect.left - 1, rect.bottom);
        rect = {rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1};
    }
    ++rect.right;
    ++rect.bottom;
}

}  // namespace

TCustomChartPanel::TCustomChartPanel() {
    SetOnChange([this] { InvalidateChart(); });
}

void TCustomChartPanel::InvalidateChart() {
    if (!repaintEnabled_) {
        return;
    }
    canvas_.MarkBufferStale();
    if (repaintRequest_) {
        repaintRequest_();
    }
}

void TCustomChartPanel::SetSize(int width, int height) {
    if (width == width_ && height == height_) {
        return;
    }
    width_ = width;
    height_ = height;
    InvalidateChart();
}

void TCustomChartPanel::PaintRequest(TCanvasSurface& screen) {
    const QImage& buffer = canvas_.Buffer();
    if (canvas_.HasCurrentBuffer() && buffer.size() == screen.image.size() &&
        buffer.devicePixelRatio() == screen.image.devicePixelRatio()) {
        canvas_.ShowBufferedFrame(screen);
        return;
    }
    const QSize size = screen.LogicalSize();
    PaintChart(screen, {0, 0, size.width(), size.height()});
}

void TCustomChartPanel::PaintChart(TCanvasSurface& target, const TRect& targetRect) {
    canvas_.BeginFrame(targetRect.Width(), targetRect.Height(), target.Scale(), view3D_);
    panelBounds_ = {0, 0, targetRect.Width(), targetRect.Height()};
    SetPlotRectFromMargins();
    NormalizePlotRect();
    PaintFramePipeline(panelBounds_);
    canvas_.PresentFrame(target, targetRect.left, targetRect.top);
    ++framesPainted_;
}

void TCustomChartPanel::SetPlotRectFromMargins() {
    const int width = panelBounds_.Width();
    const int height = panelBounds_.Height();
    plotRect_ = {panelBounds_.left + borderWidth_ + MulDiv(margins_.left, width, 100),
                 panelBounds_.top + borderWidth_ + MulDiv(margins_.top, height, 100),
                 panelBounds_.right - borderWidth_ - MulDiv(margins_.right, width, 100),
                 panelBounds_.bottom - borderWidth_ - MulDiv(margins_.bottom, height, 100)};
}

void TCustomChartPanel::NormalizePlotRect() {
    TRect& plot = plotRect_;
    plot.left = std::max(plot.left, panelBounds_.left);
    plot.top = std::max(plot.top, panelBounds_.top);
    if (plot.left > plot.right) {
        plot.right = plot.left + 1;
    } else if (plot.left == plot.right) {
        plot.right = plot.left + width_;
    }
    if (plot.top > plot.bottom) {
        plot.bottom = plot.top + 1;
    } else if (plot.top == plot.bottom) {
        plot.bottom = plot.top + height_;
    }
    plotWidth_ = plot.Width();
    plotHeight_ = plot.Height();
    // Integer halves of the sums, truncated toward zero.
    plotCenterX_ = (plot.left + plot.right) / 2;
    plotCenterY_ = (plot.top + plot.bottom) / 2;
}

void TCustomChartPanel::PaintPanelBackground(const TRect& rect) {
    FillPanelBackground(rect);
    DrawPanelBevels(rect);
}

void TCustomChartPanel::FillPanelBackground(const TRect& rect) {
    canvas_.Brush() = {color_, bsSolid};
    canvas_.FillArea(rect);
}

void TCustomChartPanel::DrawPanelBevels(const TRect& rect) {
    canvas_.Pen() = TCanvasPen{};
    canvas_.Brush().style = bsClear;
    TRect ring = rect;
    if (bevelOuter_ != bvNone) {
        DrawBevel(canvas_, ring, ColorsOf(bevelOuter_), bevelWidth_);
    }
    DrawBevel(canvas_, ring, {color_, color_}, borderWidth_);
    if (bevelInner_ != bvNone) {
        DrawBevel(canvas_, ring, ColorsOf(bevelInner_), bevelWidth_);
    }
}

}  // namespace tesmera
