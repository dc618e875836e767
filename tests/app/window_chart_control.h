// SPDX-License-Identifier: GPL-3.0-or-later
// The window's chart control for mouse tests: the window's chart, axis and
// bar settings, the title line, 20 bars, 378 x 125 pixels, placed at (208,
// 140) inside a larger parent like the window's, shown (off screen) and
// painted. Mouse events go through the parent's platform window, so Qt routes
// them as it routes real ones, mouse grab included.
#pragma once

#include <array>
#include <ostream>

#include <gtest/gtest.h>
#include <QApplication>
#include <QCoreApplication>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>

#include "app/tesmera_axis_settings.h"
#include "app/tesmera_chart_settings.h"
#include "chart/TChartControl.h"

namespace tesmera::testing_support {

// Harmonic amplitudes of a voice-like period, largest first.
constexpr std::array<double, 20> BarValues = {4000, 2000, 2000, 1000, 1000, 1000, 500,
                                              300,  250,  200,  150,  120,  100,  80,
                                              60,   50,   40,   30,   20,   10};

// The range one axis showed in a frame.
struct AxisView {
    double rangeMin;
    double rangeMax;
    friend bool operator==(const AxisView&, const AxisView&) = default;
};

inline std::ostream& operator<<(std::ostream& out, const AxisView& view) {
    return out << view.rangeMin << " .. " << view.rangeMax;
}

class WindowChartControlTest : public testing::Test {
  protected:
    WindowChartControlTest() : control_(new TChartControl(&window_)), bars_(SetUpChart()) {
        window_.resize(590, 423);
        control_->setGeometry(208, 140, 378, 125);
        Refill(BarValues, 1.0);
        window_.show();
        Settle();
    }

    TChart& Chart() { return control_->Chart(); }
    TChartMouseHandler& Mouse() { return Chart().Mouse(); }

    // The bar chart refill of the window, with every value times `scale`.
    void Refill(const std::array<double, 20>& values, double scale) {
        Chart().Title().Text().Clear();
        Chart().Title().Text().Add(" Fourier Coefficients \"AAx\" ");
        bars_.Marks().SetVisible(false);
        bars_.ClearPoints();
        for (int i = 0; i < 20; ++i) {
            bars_.AppendValue(values[static_cast<std::size_t>(i)] * scale, QString::number(i + 1),
                              clBlue);
        }
    }

    // Lets the event loop deliver pending paint requests.
    static void Settle() {
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::processEvents();
        }
    }

    // Mouse actions at control pixels, through the window.
    void Press(Qt::MouseButton button, int x, int y) {
        QTest::mousePress(Window(), button, {}, AtWindow(x, y));
    }
    void MoveTo(int x, int y) { QTest::mouseMove(Window(), AtWindow(x, y)); }
    void Release(Qt::MouseButton button, int x, int y) {
        QTest::mouseRelease(Window(), button, {}, AtWindow(x, y));
    }
    void Drag(Qt::MouseButton button, int fromX, int fromY, int toX, int toY) {
        Press(button, fromX, fromY);
        MoveTo(toX, toY);
        Release(button, toX, toY);
        Settle();
    }
    // A turn of the wheel by `angle` eighths of a degree (120 per notch;
    // negative towards the user) with the mouse at (x, y).
    void Wheel(int angle, int x = 150, int y = 60) {
        const QPointF at(x, y);
        QWheelEvent event(at, control_->mapToGlobal(at), {}, {0, angle}, Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(control_, &event);
    }

    // The ranges the last frame showed on the left and bottom axes.
    std::array<AxisView, 2> ShownRanges() {
        return {AxisView{Chart().LeftAxis().RangeMin(), Chart().LeftAxis().RangeMax()},
                AxisView{Chart().BottomAxis().RangeMin(), Chart().BottomAxis().RangeMax()}};
    }

    QWidget window_;
    TChartControl* control_;
    TBarSeries& bars_;

  private:
    TBarSeries& SetUpChart() {
        ApplyTesmeraChartSettings(control_->Chart());
        ApplyTesmeraAxisSettings(control_->Chart());
        return AddTesmeraBarSeries(control_->Chart());
    }
    QWindow* Window() { return window_.windowHandle(); }
    QPoint AtWindow(int x, int y) const { return control_->mapTo(&window_, QPoint(x, y)); }
};

}  // namespace tesmera::testing_support
