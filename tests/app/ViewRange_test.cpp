// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "app/ViewRange.h"

namespace tesmera {
namespace {

// A stretch of samples 1000 to 11000.
ViewRange Stretch() {
    return {1000, 11000};
}

TEST(ViewRange, ZoomKeepsTheAnchorInPlaceWithinItsLimits) {
    ViewRange view = Stretch();
    EXPECT_TRUE(view.ShowsAll());
    view.Zoom(0.5, 3000, 100);  // the anchor at a fifth of the view stays there
    EXPECT_DOUBLE_EQ(view.Span(), 5000);
    EXPECT_DOUBLE_EQ(view.First(), 2000);
    view.Zoom(0.001, 3000, 100);  // never closer than the shortest span
    EXPECT_DOUBLE_EQ(view.Span(), 100);
    EXPECT_DOUBLE_EQ(view.First(), 2980);
    view.Zoom(1000, 3000, 100);  // never wider than the stretch
    EXPECT_TRUE(view.ShowsAll());
    EXPECT_DOUBLE_EQ(view.First(), 1000);
}

TEST(ViewRange, MovesStayInsideTheStretch) {
    ViewRange view = Stretch();
    view.Zoom(0.1, 1000, 100);
    view.MoveTo(-5);
    EXPECT_DOUBLE_EQ(view.First(), 1000);
    view.MoveTo(1e9);
    EXPECT_DOUBLE_EQ(view.End(), 11000);
}

TEST(ViewRange, RevealMovesTheLeastThatShowsTheRange) {
    ViewRange view = Stretch();
    view.Zoom(0.1, 1000, 100);  // 1000 to 2000
    view.Reveal(1500, 1600);    // already shown: stays
    EXPECT_DOUBLE_EQ(view.First(), 1000);
    view.Reveal(2500, 2600);  // beyond the end: ends there
    EXPECT_DOUBLE_EQ(view.End(), 2600);
    view.Reveal(1200, 1300);  // before the start: starts there
    EXPECT_DOUBLE_EQ(view.First(), 1200);
    view.Reveal(5000, 9000);  // longer than the view: its start
    EXPECT_DOUBLE_EQ(view.First(), 5000);
}

}  // namespace
}  // namespace tesmera
