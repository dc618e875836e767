// SPDX-License-Identifier: GPL-3.0-or-later
// The chart level that owns the title and foot blocks and the walls, and runs
// the drawing steps of one frame.
#pragma once

#include "chart/TChartTitle.h"
#include "chart/TChartWall.h"
#include "chart/TCustomAxisPanel.h"

namespace tesmera {

class TCustomChart : public TCustomAxisPanel {
  public:
    // Pixels between a title block and the plot area.
    static constexpr int TitleToPlotGap = 5;

    TCustomChart();

    TChartTitle& Title() { return title_; }
    const TChartTitle& Title() const { return title_; }
    TChartTitle& Foot() { return foot_; }
    const TChartTitle& Foot() const { return foot_; }
    TChartWall& BackWall() { return backWall_; }
    const TChartWall& BackWall() const { return backWall_; }
    // Drawn only in three dimensions.
    TChartWall& LeftWall() { return leftWall_; }
    TChartWall& BottomWall() { return bottomWall_; }

  protected:
    // Background and bevels, titles, axis layout, back wall, axes, series,
    // then the canvas back to its resting state. Axes are drawn before the
    // series, so bars cover the grid.
    void PaintFramePipeline(const TRect& panelBounds) override;

    // Seam for the mouse zoom: draws the rubber band while a zoom drag is
    // active. The chart level that handles the mouse fills it in.
    virtual void DrawZoomRectangleIfActive() {}

  private:
    void DrawTitles();
    // Draws the block at the top or bottom of PlotRect and moves that edge of
    // PlotRect past it.
    void DrawTitleBlock(TChartTitle& title, bool atTop);
    void PrepareTitleBrush(const TChartTitle& title);
    void DrawTitleFrame(TChartTitle& title, TRect rect);
    void PaintWalls();
    void ResetCanvasState();

    TChartTitle title_;
    TChartTitle foot_;
    TChartWall backWall_;
    TChartWall leftWall_;
    TChartWall bottomWall_;
};

}  // namespace tesmera
