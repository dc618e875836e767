// SPDX-License-Identifier: GPL-3.0-or-later
// The base of the chart: the panel settings, the canvas with its off-screen
// buffer, the plot rectangle and the paint path. Nothing draws inside a
// setter: every change ends in InvalidateChart, which only marks the buffer
// stale and asks the platform for a later paint, so any number of changes
// cost one frame.
#pragma once

#include <functional>

#include "chart/TChangeNotifier.h"
#include "chart/TChartCanvas3D.h"
#include "chart/TRect.h"
#include "chart/colors.h"

namespace tesmera {

enum TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };

// Space between the panel edge and the plot area, in percent of the panel
// width (left, right) or height (top, bottom).
struct TChartMargins {
    int left = 3;
    int top = 4;
    int right = 3;
    int bottom = 4;
    friend bool operator==(const TChartMargins&, const TChartMargins&) = default;
};

class TCustomChartPanel : protected TChangeNotifier {
  public:
    TCustomChartPanel();
    virtual ~TCustomChartPanel() = default;
    TCustomChartPanel(const TCustomChartPanel&) = delete;
    TCustomChartPanel& operator=(const TCustomChartPanel&) = delete;

    // Marks the buffered frame stale and asks the platform for a later paint.
    // Does nothing while RepaintEnabled is false (during construction).
    void InvalidateChart();
    bool RepaintEnabled() const { return repaintEnabled_; }
    // How the chart asks its control for a later paint; the control merges
    // any number of requests into one paint.
    void SetRepaintRequest(std::function<void()> request) { repaintRequest_ = std::move(request); }

    // The platform's paint request for a control showing `screen`: copies the
    // buffer when it holds the current frame of that size, otherwise paints
    // a whole frame.
    void PaintRequest(TCanvasSurface& screen);
    // Paints one frame into the buffer and copies it to `target` at the
    // target rectangle's top-left corner; the canvas then draws on `target`.
    void PaintChart(TCanvasSurface& target, const TRect& targetRect);
    // Frames painted since creation (copies of the buffer not counted).
    int FramesPainted() const { return framesPainted_; }

    // The control's size in pixels; a change invalidates the chart.
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetSize(int width, int height);

    TColor Color() const { return color_; }
    void SetColor(TColor color) { SetAndNotify(color_, color); }
    TPanelBevel BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TPanelBevel bevel) { SetAndNotify(bevelOuter_, bevel); }
    TPanelBevel BevelInner() const { return bevelInner_; }
    void SetBevelInner(TPanelBevel bevel) { SetAndNotify(bevelInner_, bevel); }
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int pixels) { SetAndNotify(bevelWidth_, pixels); }
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int pixels) { SetAndNotify(borderWidth_, pixels); }
    const TChartMargins& Margins() const { return margins_; }
    void SetMargins(const TChartMargins& margins) { SetAndNotify(margins_, margins); }
    bool View3D() const { return view3D_; }
    void SetView3D(bool view3D) { SetAndNotify(view3D_, view3D); }
    int Chart3DPercent() const { return chart3DPercent_; }
    void SetChart3DPercent(int percent) { SetAndNotify(chart3DPercent_, percent); }

    TChartCanvas3D& Canvas() { return canvas_; }
    const TChartCanvas3D& Canvas() const { return canvas_; }

    // Geometry of the current frame. PanelBounds is the whole drawing
    // surface; PlotRect the plot area, whose right and bottom edges are pixel
    // lines of the back wall (it is outlined up to Right and Bottom inclusive).
    const TRect& PanelBounds() const { return panelBounds_; }
    const TRect& PlotRect() const { return plotRect_; }
    int PlotWidth() const { return plotWidth_; }
    int PlotHeight() const { return plotHeight_; }
    int PlotCenterX() const { return plotCenterX_; }
    int PlotCenterY() const { return plotCenterY_; }

  protected:
    // Called once the most derived chart has finished constructing.
    void EnableRepaint() { repaintEnabled_ = true; }

    // The drawing steps of one frame, after PlotRect has been set from the
    // margins.
    virtual void PaintFramePipeline(const TRect& panelBounds) = 0;
    void PaintPanelBackground(const TRect& rect);
    // Fills the whole rectangle; the plain panel fills it with Color.
    virtual void FillPanelBackground(const TRect& rect);
    void DrawPanelBevels(const TRect& rect);

    TRect& MutablePlotRect() { return plotRect_; }
    // Repairs an empty or inverted PlotRect (a one-pixel-wide area when Left
    // passed Right, the control's width when they met) and updates the plot
    // size and centre.
    void NormalizePlotRect();

  private:
    void SetPlotRectFromMargins();

    bool repaintEnabled_ = false;
    std::function<void()> repaintRequest_;
    int framesPainted_ = 0;
    int width_ = 400;
    int height_ = 250;
    TColor color_ = clBtnFace;
    TPanelBevel bevelOuter_ = bvRaised;
    TPanelBevel bevelInner_ = bvNone;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    TChartMargins margins_;
    bool view3D_ = true;
    int chart3DPercent_ = 15;
    TChartCanvas3D canvas_;
    TRect panelBounds_;
    TRect plotRect_;
    int plotWidth_ = 0;
    int plotHeight_ = 0;
    int plotCenterX_ = 0;
    int plotCenterY_ = 0;
};

}  // namespace tesmera
