// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/TRect.h"
#include "support/param_name.h"

#include <gtest/gtest.h>

namespace tesmera {
namespace {

struct ExtentCase : test::NamedCase<ExtentCase> {
    TRect rect;
    int width, height;
    bool empty;
};

class TRectExtentTest : public testing::TestWithParam<ExtentCase> {};

TEST_P(TRectExtentTest, WidthHeightAndEmptiness) {
    const ExtentCase& c = GetParam();
    EXPECT_EQ(c.rect.Width(), c.width);
    EXPECT_EQ(c.rect.Height(), c.height);
    EXPECT_EQ(c.rect.IsEmpty(), c.empty);
}

INSTANTIATE_TEST_SUITE_P(Rects, TRectExtentTest,
                         testing::Values(ExtentCase{"plain", {2, 3, 12, 8}, 10, 5, false},
                                         ExtentCase{"one_pixel", {4, 4, 5, 5}, 1, 1, false},
                                         ExtentCase{"no_width", {4, 4, 4, 9}, 0, 5, true},
                                         ExtentCase{"no_height", {4, 4, 9, 4}, 5, 0, true},
                                         ExtentCase{"reversed", {9, 9, 4, 4}, -5, -5, true}),
                         test::CaseName());

struct ContainsCase : test::NamedCase<ContainsCase> {
    int x;
    int y;
    bool inside;
};

class TRectContainsTest : public testing::TestWithParam<ContainsCase> {};

// The right column and bottom row lie outside the figure.
TEST_P(TRectContainsTest, CoversLeftTopButNotRightBottom) {
    const TRect rect{2, 3, 12, 8};
    EXPECT_EQ(rect.Contains(GetParam().x, GetParam().y), GetParam().inside);
}

INSTANTIATE_TEST_SUITE_P(Points, TRectContainsTest,
                         testing::Values(ContainsCase{"top_left_corner", 2, 3, true},
                                         ContainsCase{"last_column_and_row", 11, 7, true},
                                         ContainsCase{"right_edge", 12, 5, false},
                                         ContainsCase{"bottom_edge", 5, 8, false},
                                         ContainsCase{"left_of_it", 1, 5, false},
                                         ContainsCase{"above_it", 5, 2, false}),
                         test::CaseName());

struct CombineCase : test::NamedCase<CombineCase> {
    TRect a;
    TRect b;
    TRect both;
};

class TRectIntersectedTest : public testing::TestWithParam<CombineCase> {};

TEST_P(TRectIntersectedTest, KeepsThePixelsInBoth) {
    EXPECT_EQ(GetParam().a.Intersected(GetParam().b), GetParam().both);
    EXPECT_EQ(GetParam().b.Intersected(GetParam().a), GetParam().both);
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, TRectIntersectedTest,
    testing::Values(CombineCase{"overlapping", {0, 0, 10, 10}, {5, 2, 15, 8}, {5, 2, 10, 8}},
                    CombineCase{"nested", {0, 0, 10, 10}, {2, 2, 4, 4}, {2, 2, 4, 4}},
                    // Sharing only the excluded edge is sharing no pixel.
                    CombineCase{"touching", {0, 0, 10, 10}, {10, 0, 20, 10}, {}},
                    CombineCase{"apart", {0, 0, 3, 3}, {5, 5, 9, 9}, {}}),
    test::CaseName());

TEST(TRect, OrderedSwapsReversedCorners) {
    EXPECT_EQ((TRect{9, 8, 2, 3}.Ordered()), (TRect{2, 3, 9, 8}));
    EXPECT_EQ((TRect{2, 8, 9, 3}.Ordered()), (TRect{2, 3, 9, 8}));
}

TEST(TRect, WithRightBottomEdgesCoversTheEdgePixels) {
    const TRect plot{2, 3, 12, 8};
    const TRect outline = plot.WithRightBottomEdges();
    EXPECT_TRUE(outline.Contains(12, 8));
    EXPECT_FALSE(outline.Contains(13, 8));
    EXPECT_EQ(outline.Width(), plot.Width() + 1);
    EXPECT_EQ(outline.Height(), plot.Height() + 1);
}

}  // namespace
}  // namespace tesmera
