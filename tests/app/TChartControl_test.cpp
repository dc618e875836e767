// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/TChartControl.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QImage>
#include <QPixmap>

#include "app/tesmera_chart_settings.h"
#include "chart/pixel_picture.h"

namespace tesmera {
namespace {

// The window's chart control, shown (off screen) and painted once.
class ChartControlTest : public testing::Test {
  protected:
    ChartControlTest() {
        ApplyTesmeraChartSettings(control_.Chart());
        control_.resize(378, 125);
        control_.show();
        Settle();
    }

    // Lets the event loop deliver pending paint requests.
    static void Settle() {
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::processEvents();
        }
    }
    QImage Shown() { return control_.grab().toImage().convertToFormat(QImage::Format_RGB32); }

    TChartControl control_;
};

TEST_F(ChartControlTest, ShowsTheChartFrame) {
    EXPECT_EQ(control_.Chart().Width(), 378);
    EXPECT_EQ(control_.Chart().Height(), 125);
    EXPECT_GE(control_.Chart().FramesPainted(), 1);
    EXPECT_EQ(Shown(), control_.Chart().Canvas().Buffer());
    EXPECT_TRUE(control_.testAttribute(Qt::WA_OpaquePaintEvent));
}

TEST_F(ChartControlTest, ManyChangesCostOneFrame) {
    const int before = control_.Chart().FramesPainted();
    TChart& chart = control_.Chart();
    auto& series = chart.AddSeries(std::make_unique<TChartSeries>());
    chart.Title().Text().Clear();
    chart.Title().Text().Add(" Fourier Coefficients \"AAx\" ");
    series.Marks().SetVisible(false);
    series.ClearPoints();
    for (int i = 1; i <= 20; ++i) {
        series.AppendValue(0, QString::number(i), clBlue);
    }
    EXPECT_EQ(chart.FramesPainted(), before);  // nothing drawn inside the changes
    Settle();
    EXPECT_EQ(chart.FramesPainted(), before + 1);
}

TEST_F(ChartControlTest, RepaintWithNothingChangedCopiesTheBuffer) {
    const int before = control_.Chart().FramesPainted();
    control_.repaint();
    Shown();
    EXPECT_EQ(control_.Chart().FramesPainted(), before);
}

TEST_F(ChartControlTest, ResizingRecreatesTheBufferAndPaintsAFrame) {
    const int before = control_.Chart().FramesPainted();
    control_.resize(200, 90);
    Settle();
    EXPECT_EQ(control_.Chart().FramesPainted(), before + 1);
    EXPECT_EQ(control_.Chart().Canvas().Buffer().size(), QSize(200, 90));
    EXPECT_EQ(Shown().size(), QSize(200, 90));
}

TEST_F(ChartControlTest, HiddenGradientShowsThePanelColour) {
    TChart& chart = control_.Chart();
    chart.Gradient().SetVisible(false);
    chart.SetBevelOuter(bvNone);
    chart.SetBevelInner(bvNone);
    chart.BackWall().Pen().SetVisible(false);
    chart.SetAxisVisible(false);
    Settle();
    const QImage shown = Shown();
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            ASSERT_EQ(shown.pixel(x, y), qRgb(0, 0, 0)) << x << "," << y;
        }
    }
}

TEST_F(ChartControlTest, ScreenDrawingShowsUntilTheNextFrame) {
    TChartCanvas3D& canvas = control_.Chart().Canvas();
    ASSERT_EQ(canvas.Target(), &control_.Screen());
    canvas.Pen() = {clBlack, 1, psSolid, pmNotXor, false};
    canvas.Brush().style = bsClear;
    canvas.PaintRect(100, 40, 150, 80);
    const int before = control_.Chart().FramesPainted();
    control_.ShowScreen();
    // The paint that showed it kept it: the buffer was not copied over it.
    EXPECT_EQ(control_.Screen().image.pixel(100, 60), qRgb(0, 0, 0));
    EXPECT_EQ(control_.Chart().FramesPainted(), before);
    // Any later paint request shows the frame again.
    EXPECT_EQ(Shown().pixel(100, 60), qRgb(255, 255, 255));
}

}  // namespace
}  // namespace tesmera
