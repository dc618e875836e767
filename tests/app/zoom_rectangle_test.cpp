// SPDX-License-Identifier: GPL-3.0-or-later
// The rubber band of a zoom drag, on the pixels the control shows.
#include <gtest/gtest.h>

#include "chart/TRect.h"
#include "window_chart_control.h"

namespace tesmera {
namespace {

using testing_support::WindowChartControlTest;

// `image` with the outline of `band` (right column and bottom row excluded)
// inverted, as the not-XOR pen in black draws it.
QImage WithInvertedOutline(QImage image, const TRect& band) {
    const TRect r = band.Ordered();
    const auto invert = [&image](int x, int y) {
        image.setPixel(x, y, ~image.pixel(x, y) | 0xFF000000u);
    };
    for (int x = r.left; x < r.right; ++x) {
        invert(x, r.top);
        invert(x, r.bottom - 1);
    }
    for (int y = r.top + 1; y < r.bottom - 1; ++y) {
        invert(r.left, y);
        invert(r.right - 1, y);
    }
    return image;
}

class ZoomRectangleTest : public WindowChartControlTest {
  protected:
    ZoomRectangleTest() : plainFrame_(Chart().Canvas().Buffer().copy()) {}

    QImage Screen() { return control_->Screen().image; }
    QImage Shown() { return control_->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    // The frame without a rubber band, as painted before any drag.
    const QImage plainFrame_;
};

TEST_F(ZoomRectangleTest, OutlineInvertsEveryPixelOnTheBlackPanel) {
    Press(Qt::LeftButton, 100, 40);
    MoveTo(150, 80);
    const QImage expected = WithInvertedOutline(plainFrame_, {100, 40, 150, 80});
    EXPECT_EQ(Screen(), expected);
    EXPECT_EQ(Shown(), expected);
    Release(Qt::LeftButton, 100, 40);
}

TEST_F(ZoomRectangleTest, MovingTheCornerLeavesOnlyTheNewOutline) {
    Press(Qt::LeftButton, 100, 40);
    MoveTo(150, 80);
    MoveTo(180, 60);
    EXPECT_EQ(Screen(), WithInvertedOutline(plainFrame_, {100, 40, 180, 60}));
    MoveTo(80, 20);  // corners in the other order
    EXPECT_EQ(Screen(), WithInvertedOutline(plainFrame_, {80, 20, 100, 40}));
    MoveTo(100, 40);  // the band shrinks to nothing
    EXPECT_EQ(Screen(), plainFrame_);
    Release(Qt::LeftButton, 100, 40);
}

TEST_F(ZoomRectangleTest, ReleaseWithoutZoomErasesTheOutline) {
    Press(Qt::LeftButton, 100, 40);
    MoveTo(110, 80);
    Release(Qt::LeftButton, 110, 80);
    EXPECT_EQ(Screen(), plainFrame_);
    EXPECT_EQ(Chart().Canvas().Pen().mode, pmCopy);
}

TEST_F(ZoomRectangleTest, OutlineSurvivesAFrameDrawnDuringTheDrag) {
    Press(Qt::LeftButton, 100, 40);
    MoveTo(150, 80);
    const int framesBefore = Chart().FramesPainted();
    Chart().InvalidateChart();
    Settle();
    ASSERT_EQ(Chart().FramesPainted(), framesBefore + 1);
    EXPECT_EQ(Shown(), WithInvertedOutline(plainFrame_, {100, 40, 150, 80}));
    Release(Qt::LeftButton, 150, 80);
}

TEST_F(ZoomRectangleTest, CopyOfTheBufferShowsTheCurrentOutlineOnly) {
    Press(Qt::LeftButton, 100, 40);
    MoveTo(150, 80);
    Chart().InvalidateChart();
    Settle();  // the buffer now holds the band to (150, 80)
    MoveTo(190, 100);
    control_->repaint();  // the buffer is current: copied, not painted
    EXPECT_EQ(Screen(), WithInvertedOutline(plainFrame_, {100, 40, 190, 100}));
    // A release too close to zoom leaves the band in the buffer, but not on
    // the screen after the next copy.
    Release(Qt::LeftButton, 110, 50);
    Settle();
    control_->repaint();
    EXPECT_EQ(Screen(), plainFrame_);
}

TEST_F(ZoomRectangleTest, WhitePanelDrawsTheOutlineInBlack) {
    // A white pen in the not-XOR mode would leave every pixel as it was.
    Chart().SetColor(clWhite);
    Settle();
    const QImage plain = Chart().Canvas().Buffer().copy();
    Press(Qt::LeftButton, 100, 40);
    MoveTo(150, 80);
    EXPECT_EQ(Screen(), WithInvertedOutline(plain, {100, 40, 150, 80}));
    Release(Qt::LeftButton, 100, 40);
}

}  // namespace
}  // namespace tesmera
