// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/TChartCanvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>
#include <vector>

#include <QFontMetrics>
#include <QPainter>

#include "chart/chart_math.h"

namespace tesmera {

namespace {

QRgb ToQRgb(TColor color) {
    return ToQColor(color).rgb();
}

// Dash patterns repeat every 6 pixels (3 on, 3 off) or 2 (small dots).
constexpr int DashCycle = 6;

// Lines farther out than this are clipped before rasterising, so a value
// mapped far outside the plot area costs no more than one across it.
constexpr int FarCoordinate = 1 << 20;

// Sets the pixels of lines and outlines on one image, within its bounds and
// the clip, in the pen's colour, width, dash pattern and mode.
class Rasteriser {
  public:
    Rasteriser(TCanvasSurface& surface, const TCanvasState& state)
        : image_(surface.image),
          scale_(surface.Scale()),
          pen_(state.pen),
          color_(ToQRgb(state.pen.color)) {
        const QSize size = surface.LogicalSize();
        visible_ = TRect{0, 0, size.width(), size.height()};
        if (state.clip) {
            visible_ = visible_.Intersected(*state.clip);
        }
        const int width = std::max(pen_.width, 1);
        stampBefore_ = width / 2;
        stampAfter_ = width - 1 - stampBefore_;
    }

    Rasteriser(const Rasteriser&) = delete;
    Rasteriser& operator=(const Rasteriser&) = delete;

    // The pixels from (x0, y0) towards (x1, y1), the end pixel excluded.
    void Line(int x0, int y0, int x1, int y1) {
        if (x0 == x1 || y0 == y1) {
            const int dx = (x1 > x0) - (x1 < x0);
            const int dy = (y1 > y0) - (y1 < y0);
            const long long length = std::llabs(static_cast<long long>(x1) - x0) +
                                     std::llabs(static_cast<long long>(y1) - y0);
            Run(x0, y0, dx, dy, length, 0);
        } else if (IsNear(x0, y0) && IsNear(x1, y1)) {
            Slanted(x0, y0, x1, y1);
        } else {
            FarLine(x0, y0, x1, y1);
        }
        SetStamped();
    }

    // The closed outline of columns left .. right - 1 and rows top ..
    // bottom - 1, each pixel once, walked clockwise from the top-left corner.
    void Outline(const TRect& rect) {
        if (rect.IsEmpty()) {
            return;
        }
        const int lastX = rect.right - 1;
        const int lastY = rect.bottom - 1;
        const long long width = static_cast<long long>(rect.right) - rect.left;
        const long long height = static_cast<long long>(rect.bottom) - rect.top;
        Run(rect.left, rect.top, 1, 0, width, 0);
        Run(lastX, rect.top + 1, 0, 1, height - 1, Phase(width));
        if (lastY > rect.top) {
            Run(lastX - 1, lastY, -1, 0, width - 1, Phase(width + height - 1));
        }
        if (lastX > rect.left) {
            Run(rect.left, lastY - 1, 0, -1, height - 2, Phase(2 * width + height - 2));
        }
        SetStamped();
    }

  private:
    // Wide pens stamp overlapping squares: each covered pixel is set once,
    // which keeps not-XOR figures reversible.
    void SetStamped() {
        std::sort(stamped_.begin(), stamped_.end());
        stamped_.erase(std::unique(stamped_.begin(), stamped_.end()), stamped_.end());
        for (const auto& [y, x] : stamped_) {
            Set(x, y);
        }
        stamped_.clear();
    }

    static bool IsNear(int x, int y) {
        return std::abs(x) < FarCoordinate && std::abs(y) < FarCoordinate;
    }

    static int Phase(long long distance) { return static_cast<int>(distance % DashCycle); }

    bool DashOn(int index) const {
        if (pen_.smallDots) {
            return index % 2 == 0;
        }
        return pen_.style != psDot || index % 6 < 3;
    }

    // `length` pixels from (x, y) in steps of (dx, dy), numbered from `phase`
    // along the figure for the dash pattern. Only the steps that can reach
    // the visible area are walked.
    void Run(int x, int y, int dx, int dy, long long length, int phase) {
        long long first = 0;
        long long last = length - 1;
        ClampSteps(x, dx, visible_.left - stampAfter_, visible_.right - 1 + stampBefore_, first,
                   last);
        ClampSteps(y, dy, visible_.top - stampAfter_, visible_.bottom - 1 + stampBefore_, first,
                   last);
        for (long long k = first; k <= last; ++k) {
            Point(static_cast<int>(x + k * dx), static_cast<int>(y + k * dy),
                  static_cast<int>((phase + k) % DashCycle));
        }
    }

    // Narrows [first, last] to the steps k whose start + k * step lies in [low, high].
    static void ClampSteps(int start, int step, int low, int high, long long& first,
                           long long& last) {
        if (step == 0) {
            if (start < low || start > high) {
                last = first - 1;
            }
            return;
        }
        const long long toLow = static_cast<long long>(low) - start;
        const long long toHigh = static_cast<long long>(high) - start;
        const long long a = step > 0 ? toLow : -toHigh;
        const long long b = step > 0 ? toHigh : -toLow;
        first = std::max(first, a);
        last = std::min(last, b);
    }

    // A slanted line: one pixel per step along the longer direction, the
    // shorter coordinate rounded to the nearest, halves towards the start.
    void Slanted(int x0, int y0, int x1, int y1) {
        const long long dx = std::llabs(static_cast<long long>(x1) - x0);
        const long long dy = std::llabs(static_cast<long long>(y1) - y0);
        const int sx = x0 < x1 ? 1 : -1;
        const int sy = y0 < y1 ? 1 : -1;
        const long long steps = std::max(dx, dy);
        const auto minor = [steps](long long k, long long extent) {
            return static_cast<int>((2 * k * extent + steps - 1) / (2 * steps));
        };
        for (long long k = 0; k < steps; ++k) {
            const int x = dx >= dy ? x0 + sx * static_cast<int>(k) : x0 + sx * minor(k, dx);
            const int y = dx >= dy ? y0 + sy * minor(k, dy) : y0 + sy * static_cast<int>(k);
            Point(x, y, static_cast<int>(k % DashCycle));
        }
    }

    // A slanted line with a far end: cut to a box around the image first,
    // then rasterised between the rounded cut points. Nothing the chart draws
    // takes this path in practice; it only bounds the work.
    void FarLine(int x0, int y0, int x1, int y1) {
        const double margin = std::max(pen_.width, 1) + 2.0;
        const double low[2] = {visible_.left - margin, visible_.top - margin};
        const double high[2] = {visible_.right + margin, visible_.bottom + margin};
        const double start[2] = {double(x0), double(y0)};
        const double delta[2] = {double(x1) - x0, double(y1) - y0};
        double enter = 0;
        double leave = 1;
        for (int axis = 0; axis < 2; ++axis) {
            const double t0 = (low[axis] - start[axis]) / delta[axis];
            const double t1 = (high[axis] - start[axis]) / delta[axis];
            enter = std::max(enter, std::min(t0, t1));
            leave = std::min(leave, std::max(t0, t1));
        }
        if (enter >= leave) {
            return;
        }
        const auto at = [&](double t, int axis) {
            return static_cast<int>(std::lround(start[axis] + t * delta[axis]));
        };
        Slanted(at(enter, 0), at(enter, 1), at(leave, 0), at(leave, 1));
    }

    void Point(int x, int y, int index) {
        if (!DashOn(index)) {
            return;
        }
        if (stampBefore_ == 0 && stampAfter_ == 0) {
            Set(x, y);
            return;
        }
        for (int sy = y - stampBefore_; sy <= y + stampAfter_; ++sy) {
            for (int sx = x - stampBefore_; sx <= x + stampAfter_; ++sx) {
                if (visible_.Contains(sx, sy)) {
                    stamped_.emplace_back(sy, sx);
                }
            }
        }
    }

    void Set(int x, int y) {
        if (!visible_.Contains(x, y)) {
            return;
        }
        for (int row = y * scale_; row < (y + 1) * scale_; ++row) {
            QRgb* const first = reinterpret_cast<QRgb*>(image_.scanLine(row)) + x * scale_;
            for (QRgb* pixel = first; pixel < first + scale_; ++pixel) {
                if (pen_.mode == pmNotXor) {
                    *pixel = 0xFF000000u | (~(color_ ^ *pixel) & 0x00FFFFFFu);
                } else {
                    *pixel = color_;
                }
            }
        }
    }

    QImage& image_;
    int scale_;
    const TCanvasPen& pen_;
    QRgb color_;
    TRect visible_;
    int stampBefore_ = 0;
    int stampAfter_ = 0;
    std::vector<std::pair<int, int>> stamped_;
};

// Fills the pixels of `rect` that are inside the image and the clip.
void FillPixels(TCanvasSurface& surface, const std::optional<TRect>& clip, const TRect& rect,
                QRgb color) {
    const QSize size = surface.LogicalSize();
    TRect area = rect.Intersected({0, 0, size.width(), size.height()});
    if (clip) {
        area = area.Intersected(*clip);
    }
    const int scale = surface.Scale();
    for (int y = area.top * scale; y < area.bottom * scale; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(surface.image.scanLine(y));
        std::fill(row + area.left * scale, row + area.right * scale, color);
    }
}

}  // namespace

QImage SurfaceImage(QSize size, int scale) {
    QImage image(size * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::white);
    return image;
}

bool FitSurface(TCanvasSurface& surface, QSize size, int scale) {
    if (!surface.image.isNull() && surface.LogicalSize() == size && surface.Scale() == scale) {
        return false;
    }
    surface.image = SurfaceImage(size, scale);
    return true;
}

int WholePixelRatio(double ratio) {
    return std::max(1, static_cast<int>(std::floor(ratio)));
}

void TChartCanvas::ApplyChartPen(const TChartPen& pen) {
    TCanvasPen& canvasPen = Pen();
    if (!pen.Visible()) {
        canvasPen.style = psClear;
        return;
    }
    canvasPen = TCanvasPen{pen.Color(), pen.Width(), pen.Style(), pen.Mode(),
                           pen.SmallDots() && pen.Width() == 1};
}

void TChartCanvas::SetTextBackColor(TColor color) {
    State().textBackColor = color;
}

void TChartCanvas::SetTextBackground(TTextBackground background) {
    State().textBackground = background;
}

void TChartCanvas::SetTextAnchor(int flags) {
    State().textAnchor = flags;
}

void TChartCanvas::FillArea(const TRect& rect) {
    if (target_ == nullptr || State().brush.style == bsClear) {
        return;
    }
    FillPixels(*target_, State().clip, rect.Ordered(), ToQRgb(State().brush.color));
}

void TChartCanvas::PenMoveTo(int x, int y) {
    State().penX = x;
    State().penY = y;
}

void TChartCanvas::PenLineTo(int x, int y) {
    TCanvasState& state = State();
    if (target_ != nullptr && state.pen.style != psClear) {
        Rasteriser(*target_, state).Line(state.penX, state.penY, x, y);
    }
    PenMoveTo(x, y);
}

void TChartCanvas::DrawSegment(int x0, int y0, int x1, int y1) {
    PenMoveTo(x0, y0);
    PenLineTo(x1, y1);
}

void TChartCanvas::PaintRect(int left, int top, int right, int bottom) {
    if (target_ == nullptr) {
        return;
    }
    const TRect rect = TRect{left, top, right, bottom}.Ordered();
    const TCanvasState& state = State();
    const bool outlined = state.pen.style != psClear;
    if (state.brush.style != bsClear) {
        // Without an outline the figure shrinks by its right column and bottom
        // row; with one, the outline covers the border pixels.
        const TRect inside =
            outlined ? TRect{rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1}
                     : TRect{rect.left, rect.top, rect.right - 1, rect.bottom - 1};
        FillPixels(*target_, state.clip, inside, ToQRgb(state.brush.color));
    }
    if (outlined) {
        Rasteriser(*target_, state).Outline(rect);
    }
}

void TChartCanvas::DrawTextAt(int x, int y, const QString& text) {
    if (target_ == nullptr || text.isEmpty()) {
        return;
    }
    const TCanvasState& state = State();
    const QFont font = state.font.ToQFont();
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(text);
    const int horizontal = state.textAnchor & anchor::Center;
    int left = x;
    if (horizontal == anchor::Center) {
        left = x - width / 2;
    } else if (horizontal == anchor::Right) {
        left = x - width;
    }
    const int top = (state.textAnchor & anchor::Bottom) != 0 ? y - metrics.height() : y;

    QPainter painter(&target_->image);
    if (state.clip) {
        const TRect& clip = *state.clip;
        painter.setClipRect(clip.left, clip.top, clip.Width(), clip.Height());
    }
    if (state.textBackground == tbOpaque) {
        painter.fillRect(left, top, width, metrics.height(), ToQColor(state.textBackColor));
    }
    painter.setFont(font);
    painter.setPen(ToQColor(state.font.Color()));
    painter.drawText(left, top + metrics.ascent(), text);
}

int TChartCanvas::MeasureTextWidth(const QString& text) const {
    return QFontMetrics(State().font.ToQFont()).horizontalAdvance(text);
}

int TChartCanvas::MeasureTextHeight(const QString& text) const {
    return text.isEmpty() ? 0 : QFontMetrics(State().font.ToQFont()).height();
}

void TChartCanvas::ClipTo(const TRect& rect) {
    std::optional<TRect>& clip = State().clip;
    clip = clip ? clip->Intersected(rect.Ordered()) : rect.Ordered();
}

void TChartCanvas::ClearClip() {
    State().clip.reset();
}

void TChartCanvas::FillGradient(const TRect& rect, TColor first, TColor second) {
    const TRect area = rect.Ordered();
    const int height = area.Height();
    const int bands = std::min(height, 256);
    const TColor from = ToRGBColor(first);
    const TColor to = ToRGBColor(second);
    const auto channel = [bands](std::uint8_t a, std::uint8_t b, int band) {
        // Added as a byte, as the bands' colours always lie between a and b.
        return static_cast<std::uint8_t>(a + MulDiv(band, b - a, bands - 1));
    };
    TCanvasBrush& brush = Brush();
    const TCanvasBrush saved = brush;
    brush.style = bsSolid;
    for (int band = 0; band < bands; ++band) {
        brush.color =
            RGB(channel(RedOf(from), RedOf(to), band), channel(GreenOf(from), GreenOf(to), band),
                channel(BlueOf(from), BlueOf(to), band));
        FillArea({area.left, area.bottom - MulDiv(band + 1, height, bands), area.right,
                  area.bottom - MulDiv(band, height, bands)});
    }
    brush = saved;
}

}  // namespace tesmera
