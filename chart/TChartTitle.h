// SPDX-License-Identifier: GPL-3.0-or-later
// A block of text lines drawn above (title) or below (foot) the plot area.
// Every change of a setting, a line, the font, the brush or the frame
// notifies the owner of the title.
#pragma once

#include "chart/TChangeNotifier.h"
#include "chart/TChartBrush.h"
#include "chart/TChartFont.h"
#include "chart/TChartPen.h"
#include "chart/TChartStrings.h"
#include "chart/TRect.h"

namespace tesmera {

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

class TChartTitle : public TChangeNotifier {
  public:
    TChartTitle();

    TChartStrings& Text() { return text_; }
    const TChartStrings& Text() const { return text_; }
    TChartFont& Font() { return font_; }
    const TChartFont& Font() const { return font_; }
    TChartBrush& Brush() { return brush_; }
    const TChartBrush& Brush() const { return brush_; }
    TChartHiddenPen& Frame() { return frame_; }
    const TChartHiddenPen& Frame() const { return frame_; }

    bool Visible() const { return visible_; }
    void SetVisible(bool visible) { SetAndNotify(visible_, visible); }
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment) { SetAndNotify(alignment_, alignment); }
    // True: a framed or filled block shrinks to its text's width.
    bool AdjustFrame() const { return adjustFrame_; }
    void SetAdjustFrame(bool adjust) { SetAndNotify(adjustFrame_, adjust); }
    // clDefault: no background of its own.
    TColor Color() const { return color_; }
    void SetColor(TColor color) { SetAndNotify(color_, color); }

    // Where the block was drawn in the last frame.
    const TRect& TitleRect() const { return titleRect_; }
    void SetTitleRect(const TRect& rect) { titleRect_ = rect; }

  private:
    TChartStrings text_;
    TChartFont font_;
    TChartBrush brush_;
    TChartHiddenPen frame_;
    bool visible_ = true;
    TAlignment alignment_ = taCenter;
    bool adjustFrame_ = true;
    TColor color_ = clDefault;
    TRect titleRect_;
};

}  // namespace tesmera
