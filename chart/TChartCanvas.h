// SPDX-License-Identifier: GPL-3.0-or-later
// The chart's drawing canvas: every pixel the chart draws goes through here.
// Lines and rectangles are rasterised on the image's pixels by this class,
// so the pixel rules hold exactly:
//   - a rectangle covers the columns left .. right - 1 and rows top .. bottom - 1;
//   - a line never sets its end pixel, so joined lines set each joint once and
//     a line whose ends coincide draws nothing.
// Text goes through QPainter on the same image, with the same clip.
#pragma once

#include <optional>

#include <QImage>
#include <QString>

#include "chart/TChartBrush.h"
#include "chart/TChartFont.h"
#include "chart/TChartPen.h"
#include "chart/TRect.h"
#include "chart/colors.h"

namespace tesmera {

// The pen the canvas draws with. Width is in pixels; a width of 2 or more
// stamps a width x width square on every pixel of the line, reaching
// (width - 1) / 2 pixels right/down and width / 2 pixels left/up of it, so a
// 2-pixel line along row y covers rows y - 1 and y.
struct TCanvasPen {
    TColor color = clBlack;
    int width = 1;
    TPenStyle style = psSolid;
    TPenMode mode = pmCopy;
    // Every other pixel along a line (a one-pixel cosmetic dotted pen).
    bool smallDots = false;
};

struct TCanvasBrush {
    TColor color = clWhite;
    TBrushStyle style = bsSolid;
};

// Text background: transparent leaves the pixels around the glyphs untouched;
// opaque fills the text cell with the text background colour first.
enum TTextBackground { tbTransparent = 1, tbOpaque = 2 };

// Text anchor flags, combined by adding a horizontal and a vertical one.
namespace anchor {
constexpr int Left = 0;    // the text starts at x
constexpr int Right = 2;   // the text ends at x: its last column is x - 1
constexpr int Center = 6;  // the text is centred on x
constexpr int Top = 0;     // the top of the text cell is at y
constexpr int Bottom = 8;  // the bottom of the text cell is at y (last row y - 1)
}  // namespace anchor

// Drawing state that belongs to one surface, kept while the canvas draws on
// another one.
struct TCanvasState {
    TCanvasPen pen;
    TCanvasBrush brush;
    TChartFont font = DefaultChartFont();
    int textAnchor = anchor::Left + anchor::Top;
    TTextBackground textBackground = tbOpaque;
    TColor textBackColor = clWhite;
    // Drawing reaches only pixels inside this rectangle, when set.
    std::optional<TRect> clip;
    int penX = 0;
    int penY = 0;
};

// An image with the drawing state that goes with it (the off-screen bitmap,
// or the picture a control shows). Drawing is in logical pixels; on a
// scaled screen the image has a whole number of pixels per logical pixel
// (its device pixel ratio), each logical pixel a block of them, so the
// pixel rules hold at any scale while text is drawn at the screen's
// resolution.
struct TCanvasSurface {
    QImage image;
    TCanvasState state;

    int Scale() const { return static_cast<int>(image.devicePixelRatio()); }
    QSize LogicalSize() const { return image.size() / Scale(); }
};

// A white image of `size` logical pixels, `scale` pixels to each.
QImage SurfaceImage(QSize size, int scale);
// Gives `surface` a new white image unless it already has this size and
// scale; true when it did.
bool FitSurface(TCanvasSurface& surface, QSize size, int scale);
// The whole number of image pixels to a logical pixel on a screen of this
// device pixel ratio: fractional ratios round down, so blocks stay square.
int WholePixelRatio(double ratio);

class TChartCanvas {
  public:
    TChartCanvas() = default;
    virtual ~TChartCanvas() = default;
    TChartCanvas(const TChartCanvas&) = delete;
    TChartCanvas& operator=(const TChartCanvas&) = delete;

    // Draws on `surface` (not owned) from now on, with its own state. Without
    // a surface every operation draws nothing and measures 0.
    void SetTarget(TCanvasSurface* surface) { target_ = surface; }
    TCanvasSurface* Target() const { return target_; }

    // The target's pen, brush and font; changing them changes the target.
    TCanvasPen& Pen() { return State().pen; }
    TCanvasBrush& Brush() { return State().brush; }
    const TChartFont& Font() const { return State().font; }
    void SetFont(const TChartFont& font) { State().font = font; }
    TTextBackground TextBackground() const { return State().textBackground; }

    // Loads a chart pen into the canvas pen. An invisible pen only turns the
    // style to psClear, keeping colour and width.
    void ApplyChartPen(const TChartPen& pen);

    virtual void SetTextBackColor(TColor color);
    virtual void SetTextBackground(TTextBackground background);
    virtual void SetTextAnchor(int flags);
    // Fills the rectangle's pixels with the brush; no outline. Corners in any
    // order.
    virtual void FillArea(const TRect& rect);
    virtual void PenLineTo(int x, int y);
    virtual void PenMoveTo(int x, int y);
    // Outline with the pen on columns left and right - 1 and rows top and
    // bottom - 1, inside filled with the brush; with a psClear pen the brush
    // fills columns left .. right - 2 and rows top .. bottom - 2. Corners in
    // any order.
    virtual void PaintRect(int left, int top, int right, int bottom);
    void PaintRect(const TRect& rect) { PaintRect(rect.left, rect.top, rect.right, rect.bottom); }
    // One line of text in the font colour, placed by the text anchor.
    virtual void DrawTextAt(int x, int y, const QString& text);
    virtual int MeasureTextWidth(const QString& text) const;
    virtual int MeasureTextHeight(const QString& text) const;
    // Restricts drawing to the rectangle, inside any restriction in force.
    virtual void ClipTo(const TRect& rect);
    virtual void HorizSegment(int x0, int x1, int y) { DrawSegment(x0, y, x1, y); }
    virtual void VertSegment(int x, int y0, int y1) { DrawSegment(x, y0, x, y1); }
    // Bands from `first` at the bottom to `second` at the top: at most 256
    // bands, band i spanning the rows from bottom - MulDiv(i + 1, height, n)
    // to bottom - MulDiv(i, height, n) (exclusive).
    virtual void FillGradient(const TRect& rect, TColor first, TColor second);
    virtual void DrawSegment(int x0, int y0, int x1, int y1);
    virtual void ClearClip();

    // The height of "W" in the current font: one line of text.
    int TextLineHeight() const { return MeasureTextHeight("W"); }

  protected:
    TCanvasState& State() { return target_ != nullptr ? target_->state : detachedState_; }
    const TCanvasState& State() const {
        return target_ != nullptr ? target_->state : detachedState_;
    }

  private:
    TCanvasSurface* target_ = nullptr;
    // The state set while no surface is attached; nothing draws with it.
    TCanvasState detachedState_;
};

}  // namespace tesmera
