// SPDX-License-Identifier: GPL-3.0-or-later
// A pixel rectangle of the chart. As a figure it covers the columns left to
// right - 1 and the rows top to bottom - 1: the right column and the bottom
// row are excluded, unlike QRect::right()/bottom().
#pragma once

namespace tesmera {

struct TRect {
    int left = 0, top = 0, right = 0, bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    // The same rectangle with left <= right and top <= bottom.
    TRect Ordered() const;
    // The pixels inside both rectangles (empty when they do not meet).
    TRect Intersected(const TRect& other) const;
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    // The figure that also covers the right column and the bottom row: the
    // plot area is outlined on its right and bottom edges inclusive.
    TRect WithRightBottomEdges() const { return {left, top, right + 1, bottom + 1}; }

    friend bool operator==(const TRect&, const TRect&) = default;
};

}  // namespace tesmera
