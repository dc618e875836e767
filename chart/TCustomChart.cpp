// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/TCustomChart.h"

#include <algorithm>
#include <initializer_list>

namespace tesmera {

namespace {

// The x of a title line's left edge within left .. right, by alignment; the
// side alignments keep half the width of "W" free.
int TitleLineX(TAlignment alignment, int left, int right, int textWidth, int widthOfW) {
    switch (alignment) {
        case taLeftJustify:
            return left + widthOfW / 2;
        case taRightJustify:
            return right - textWidth - widthOfW / 2;
        case taCenter:
            break;
    }
    return (left + right) / 2 - textWidth / 2;
}

}  // namespace

TCustomChart::TCustomChart() {
    leftWall_.SetColor(RGB(255, 255, 128));
    bottomWall_.SetColor(clWhite);
    backWall_.Brush().SetStyle(bsClear);
    const std::initializer_list<TChangeNotifier*> parts = {&title_, &foot_, &backWall_, &leftWall_,
                                                           &bottomWall_};
    for (TChangeNotifier* part : parts) {
        part->SetOnChange([this] { InvalidateChart(); });
    }
}

void TCustomChart::PaintFramePipeline(const TRect& panelBounds) {
    PaintPanelBackground(panelBounds);
    DrawTitles();
    LayoutAxes();
    ApplySeriesMargins();
    PaintWalls();
    if (AxisVisible()) {
        DrawVisibleAxes();
    }
    DrawAllSeries();
    DrawZoomRectangleIfActive();
    ResetCanvasState();
}

void TCustomChart::DrawTitles() {
    if (title_.Visible()) {
        DrawTitleBlock(title_, true);
    }
    if (foot_.Visible()) {
        DrawTitleBlock(foot_, false);
    }
}

void TCustomChart::DrawTitleBlock(TChartTitle& title, bool atTop) {
    TChartCanvas3D& canvas = Canvas();
    canvas.SetFont(title.Font());
    const int lineHeight = canvas.TextLineHeight();
    const int lines = title.Text().Count();
    PrepareTitleBrush(title);

    const TChartPen& frame = title.Frame();
    const int frameWidth = frame.Visible() && frame.Color() != clDefault ? frame.Width() : 0;
    TRect& plot = MutablePlotRect();
    const int left = plot.left + frameWidth;
    const int right = plot.right - frameWidth;
    const int y = atTop ? plot.top + frameWidth : plot.bottom - frameWidth;
    const int blockTop = atTop ? y : y - lines * lineHeight;
    title.SetTitleRect({left - frameWidth, blockTop - frameWidth, right + frameWidth,
                        blockTop + lines * lineHeight + frameWidth});
    if (frame.Visible() || canvas.Brush().style != bsClear) {
        DrawTitleFrame(title, title.TitleRect());
    }

    canvas.SetTextBackground(tbTransparent);
    canvas.SetTextAnchor(anchor::Left + anchor::Top);
    const int widthOfW = canvas.MeasureTextWidth("W");
    for (int i = 0; i < lines; ++i) {
        const QString& line = title.Text()[i];
        const int x =
            TitleLineX(title.Alignment(), left, right, canvas.MeasureTextWidth(line), widthOfW);
        canvas.DrawTextAt(x, blockTop + i * lineHeight, line);
    }

    // A block with neither lines nor frame takes no room, not even the gap.
    if (lines > 0 || frameWidth > 0) {
        const int room = lines * lineHeight + frameWidth + TitleToPlotGap;
        (atTop ? plot.top : plot.bottom) = atTop ? y + room : y - room;
    }
    NormalizePlotRect();
}

void TCustomChart::PrepareTitleBrush(const TChartTitle& title) {
    TCanvasBrush& brush = Canvas().Brush();
    const TChartBrush& own = title.Brush();
    if (title.Color() == clDefault && own.Color() == clDefault && own.Style() == bsSolid) {
        brush.style = bsClear;
        return;
    }
    const TColor color = title.Color() != clDefault ? title.Color() : own.Color();
    brush = {color, color == clDefault ? bsClear : own.Style()};
}

void TCustomChart::DrawTitleFrame(TChartTitle& title, TRect rect) {
    TChartCanvas3D& canvas = Canvas();
    if (title.AdjustFrame()) {
        int widest = 0;
        for (const QString& line : title.Text().Lines()) {
            widest = std::max(widest, canvas.MeasureTextWidth(line));
        }
        const int width = widest + canvas.MeasureTextWidth("W");
        if (title.Alignment() == taLeftJustify) {
            rect.right = rect.left + width;
        } else if (title.Alignment() == taRightJustify) {
            rect.left = rect.right - width;
        } else {
            const int centre = (rect.left + rect.right) / 2;
            rect.left = centre - width / 2;
            rect.right = centre + width / 2;
        }
        title.SetTitleRect(rect);
    }
    canvas.ApplyChartPen(title.Frame());
    canvas.PaintRect(rect);
}

void TCustomChart::PaintWalls() {
    TChartCanvas3D& canvas = Canvas();
    canvas.ApplyChartPen(backWall_.Pen());
    const TChartBrush& brush = backWall_.Brush();
    if (backWall_.Color() == clDefault && brush.Style() == bsSolid) {
        canvas.Brush().style = bsClear;
    } else {
        canvas.Brush() = {backWall_.Color(), brush.Style()};
        if (brush.Style() != bsSolid && brush.Color() != clDefault) {
            canvas.SetTextBackground(tbOpaque);
            canvas.SetTextBackColor(brush.Color());
        }
    }
    canvas.PaintRect(PlotRect().WithRightBottomEdges());
}

void TCustomChart::ResetCanvasState() {
    TChartCanvas3D& canvas = Canvas();
    canvas.Pen() = TCanvasPen{};
    canvas.Brush() = {clWhite, bsSolid};
    TChartFont font = DefaultChartFont();
    font.SetSize(10);
    canvas.SetFont(font);
    canvas.SetTextBackColor(clWhite);
    canvas.SetTextBackground(tbTransparent);
}

}  // namespace tesmera
