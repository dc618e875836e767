// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/oscilloscope.h"
#include "support/param_name.h"

#include <cmath>
#include <numbers>
#include <vector>

#include <gtest/gtest.h>

namespace tesmera {
namespace {

constexpr QSize Strip(377, 89);
const QRgb White = qRgb(255, 255, 255);
const QRgb Navy = qRgb(0, 0, 128);
const QRgb Grey = qRgb(128, 128, 128);
const QRgb Red = qRgb(255, 0, 0);
const QRgb Blue = qRgb(0, 0, 255);

TCanvasSurface BlankStrip() {
    TCanvasSurface strip{QImage(Strip, QImage::Format_RGB32), {}};
    strip.image.fill(Qt::black);
    return strip;
}

// One period of a sine with the given number of samples and peak.
std::vector<double> Sine(int count, double peak) {
    std::vector<double> values(count);
    for (int i = 0; i < count; ++i) {
        values[i] = std::round(peak * std::sin(2 * std::numbers::pi * i / count));
    }
    return values;
}

TEST(Oscilloscope, EmptyFrameIsWhiteWithNavyBorderAndGreyZeroLine) {
    TCanvasSurface surface = BlankStrip();
    const QImage& strip = surface.image;
    DrawOscilloscopeFrame(surface);
    for (int y = 0; y < Strip.height(); ++y) {
        for (int x = 0; x < Strip.width(); ++x) {
            const bool border = x == 0 || y == 0 || x == 376 || y == 88;
            const bool zeroLine = y == 44 && x >= 1 && x <= 375;
            const QRgb expected = border ? Navy : zeroLine ? Grey : White;
            ASSERT_EQ(strip.pixel(x, y), expected) << "at " << x << ", " << y;
        }
    }
}

struct SegmentCase {
    int pointCount;
    std::size_t segments;
    int firstX;  // end of the first segment
    int lastX;   // end of the last segment
};

class TraceSegments : public testing::TestWithParam<SegmentCase> {};

TEST_P(TraceSegments, FollowTheStepAndStopRules) {
    const SegmentCase& c = GetParam();
    const std::vector<double> values(c.pointCount, 1.0);
    const std::vector<QPoint> vertices = TraceVertices(Strip, {values, 1.0}, c.pointCount);
    ASSERT_EQ(vertices.size() - 1, c.segments);
    EXPECT_EQ(vertices.front().x(), 1);
    EXPECT_EQ(vertices[1].x(), c.firstX);
    EXPECT_EQ(vertices.back().x(), c.lastX);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, TraceSegments,
    testing::Values(SegmentCase{2, 1, 189, 189}, SegmentCase{4, 2, 95, 189},
                    SegmentCase{100, 98, 5, 370}, SegmentCase{441, 439, 2, 376},
                    SegmentCase{1000, 996, 1, 376}, SegmentCase{10000, 9960, 1, 376}),
    [](const auto& info) { return "Points" + std::to_string(info.param.pointCount); });

TEST(Oscilloscope, PeaksReachRowsTwoAndEightySix) {
    const std::vector<double> values = {0, 1000, 0, -1000, 0};
    const std::vector<QPoint> vertices = TraceVertices(Strip, {values, 1000}, 5);
    ASSERT_EQ(vertices.size(), 4u);
    EXPECT_EQ(vertices[0].y(), 44);
    EXPECT_EQ(vertices[1].y(), 2);
    EXPECT_EQ(vertices[3].y(), 86);
}

TEST(Oscilloscope, BlueTraceIsDrawnOverTheRedOne) {
    TCanvasSurface surface = BlankStrip();
    const QImage& strip = surface.image;
    const std::vector<double> signal = Sine(441, 8000);
    const std::vector<double> flat(441, 0.0);
    DrawOscilloscopeTraces(surface, {signal, 8000}, {flat, 8000}, 441);
    // The sine crosses the zero line at its start, so blue covers red there;
    // further on the flat red line covers the grey one.
    EXPECT_EQ(strip.pixel(1, 44), Blue);
    EXPECT_EQ(strip.pixel(200, 44), Red);
    int top = Strip.height();
    int bottom = 0;
    for (int y = 0; y < Strip.height(); ++y) {
        for (int x = 1; x < 376; ++x) {
            if (strip.pixel(x, y) == Blue) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    EXPECT_EQ(top, 2);
    EXPECT_EQ(bottom, 86);
}

// A silent period must not end the command: both traces lie on the zero line.
TEST(Oscilloscope, ZeroScaleDrawsAFlatTrace) {
    TCanvasSurface surface = BlankStrip();
    const QImage& strip = surface.image;
    const std::vector<double> silent(441, 0.0);
    DrawOscilloscopeTraces(surface, {silent, 0.0}, {silent, 0.0}, 441);
    for (int x = 1; x < 376; ++x) {
        ASSERT_EQ(strip.pixel(x, 44), Blue) << x;
    }
    EXPECT_EQ(strip.pixel(100, 43), White);
}

// A single sample joins point 0 to point 1 at x = W + 1, outside the strip.
TEST(Oscilloscope, SingleSampleRunsOffTheRightEdge) {
    const std::vector<double> values = {500, 0};
    const std::vector<QPoint> vertices = TraceVertices(Strip, {values, 500}, 1);
    ASSERT_EQ(vertices.size(), 2u);
    EXPECT_EQ(vertices[1], QPoint(378, 44));
    TCanvasSurface surface = BlankStrip();
    const QImage& strip = surface.image;
    DrawOscilloscopeTraces(surface, {values, 500}, {values, 500}, 1);
    EXPECT_EQ(strip.pixel(1, 2), Blue);
}

// Counts beyond the buffer (a recording longer than it) read nothing past it.
TEST(Oscilloscope, NeverReadsPastTheValues) {
    const std::vector<double> values(10, 3.0);
    const std::vector<QPoint> vertices = TraceVertices(Strip, {values, 3.0}, 100000);
    EXPECT_EQ(vertices.back().x(), 376);
    EXPECT_EQ(vertices.back().y(), 44);
}

}  // namespace
}  // namespace tesmera
