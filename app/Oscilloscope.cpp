#include "app/Oscilloscope.h"

#include <cmath>

#include "chart/colors.h"

namespace tesmera {

namespace {

// Rounds to the nearest integer with halves to even (44.5 -> 44), as every
// real-to-pixel conversion of the strip does.
int RoundHalfEven(double value) {
    return static_cast<int>(std::nearbyint(value));
}

// A pen on the surface that follows the platform's line rule: a line runs
// from the current position to the new point, leaves the new point itself
// unset, and makes it the current position.
class StripPen {
  public:
    StripPen(QImage& surface, TColor color) : surface_(surface), rgb_(ToQColor(color).rgb()) {}

    void MoveTo(int x, int y) {
        x_ = x;
        y_ = y;
    }

    // Bresenham from the current position; the end pixel is left for the next
    // segment, so joints are drawn once.
    void LineTo(int x, int y) {
        const int dx = std::abs(x - x_);
        const int dy = -std::abs(y - y_);
        const int stepX = x_ < x ? 1 : -1;
        const int stepY = y_ < y ? 1 : -1;
        int error = dx + dy;
        int px = x_;
        int py = y_;
        while (px != x || py != y) {
            SetPixel(px, py);
            const int doubled = 2 * error;
            if (doubled >= dy) {
                error += dy;
                px += stepX;
            }
            if (doubled <= dx) {
                error += dx;
                py += stepY;
            }
        }
        MoveTo(x, y);
    }

    // Border with the pen over columns left..right-1 and rows top..bottom-1,
    // inside filled white.
    void FramedRect(int left, int top, int right, int bottom) {
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                const bool border = x == left || x == right - 1 || y == top || y == bottom - 1;
                SetPixel(x, y, border ? rgb_ : qRgb(255, 255, 255));
            }
        }
    }

  private:
    void SetPixel(int x, int y) { SetPixel(x, y, rgb_); }
    void SetPixel(int x, int y, QRgb rgb) {
        if (x >= 0 && y >= 0 && x < surface_.width() && y < surface_.height()) {
            surface_.setPixel(x, y, rgb);
        }
    }

    QImage& surface_;
    QRgb rgb_;
    int x_ = 0;
    int y_ = 0;
};

void DrawTrace(QImage& surface, TColor color, const OscilloscopeTrace& trace,
               std::int32_t pointCount) {
    const std::vector<QPoint> vertices = TraceVertices(surface.size(), trace, pointCount);
    StripPen pen(surface, color);
    pen.MoveTo(vertices.front().x(), vertices.front().y());
    for (auto vertex = vertices.begin() + 1; vertex != vertices.end(); ++vertex) {
        pen.LineTo(vertex->x(), vertex->y());
    }
}

}  // namespace

std::vector<QPoint> TraceVertices(QSize surface, const OscilloscopeTrace& trace,
                                  std::int32_t pointCount) {
    const int width = surface.width();
    const int midLine = RoundHalfEven(surface.height() / 2.0);
    const double step = static_cast<double>(width) / pointCount;
    // A silent trace has scale 0; it is drawn flat on the zero line instead of
    // failing on the division.
    const double k = trace.scale == 0 ? 0.0 : (surface.height() - 4) / (2 * trace.scale);
    // Entries past the buffer read as 0, so a count larger than the buffer
    // can never read beyond it.
    const auto y = [&](std::int32_t i) {
        const double value =
            static_cast<std::size_t>(i) < trace.values.size() ? trace.values[i] : 0.0;
        return midLine - RoundHalfEven(value * k);
    };

    std::vector<QPoint> vertices{{1, y(0)}};
    std::int32_t i = 1;
    while (true) {
        vertices.emplace_back(RoundHalfEven(i * step) + 1, y(i));
        ++i;
        if (i >= pointCount - 1 || RoundHalfEven(i * step) + 1 > width - 1) {
            return vertices;
        }
    }
}

void DrawOscilloscopeFrame(QImage& surface) {
    const int midLine = RoundHalfEven(surface.height() / 2.0);
    StripPen(surface, clNavy).FramedRect(0, 0, surface.width(), surface.height());
    StripPen zeroLine(surface, clGray);
    zeroLine.MoveTo(1, midLine);
    zeroLine.LineTo(surface.width() - 1, midLine);
}

void DrawOscilloscopeTraces(QImage& surface, const OscilloscopeTrace& signal,
                            const OscilloscopeTrace& model, std::int32_t pointCount) {
    DrawOscilloscopeFrame(surface);
    DrawTrace(surface, clRed, model, pointCount);
    DrawTrace(surface, clBlue, signal, pointCount);
}

}  // namespace tesmera
