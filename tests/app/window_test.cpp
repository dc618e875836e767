// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include "app/TForm1.h"
#include "app/WindowFixture.h"
#include "app/glyphs.h"
#include "chart/TChartControl.h"
#include "support/param_name.h"

namespace tesmera {
namespace {

// The window as it opens, with scripted dialogs.
using Window = testing::WindowFixture;

struct Placement : test::NamedCase<Placement> {
    QRect geometry;
};

class ControlPlacement : public Window, public ::testing::WithParamInterface<Placement> {};

TEST_P(ControlPlacement, SitsWhereTheWindowPutsIt) {
    const QWidget* control = Find(GetParam().name.c_str());
    ASSERT_NE(control, nullptr);
    if (const auto* label = qobject_cast<const QLabel*>(control)) {
        // Captions grow to their text in the platform's font.
        EXPECT_EQ(label->pos(), GetParam().geometry.topLeft());
        EXPECT_EQ(label->height(), 13);
        EXPECT_GE(label->width(), GetParam().geometry.width());
        EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text()));
    } else {
        EXPECT_EQ(control->geometry(), GetParam().geometry);
    }
    EXPECT_FALSE(control->accessibleName().isEmpty()) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Form1, ControlPlacement,
    ::testing::Values(
        Placement{"Image1", {208, 48, 377, 89}}, Placement{"Panel1", {6, 3, 579, 41}},
        Placement{"SpeedButton1", {6, 8, 25, 25}}, Placement{"SpeedButton3", {36, 8, 25, 25}},
        Placement{"Edit1", {408, 10, 161, 21}}, Placement{"Edit2", {400, 271, 65, 17}},
        Placement{"Edit3", {400, 288, 65, 17}}, Placement{"Edit4", {520, 288, 65, 17}},
        Placement{"Edit5", {520, 271, 65, 17}}, Placement{"Memo1", {6, 69, 195, 220}},
        Placement{"Memo3", {6, 48, 195, 22}}, Placement{"Memo4", {6, 292, 195, 117}},
        Placement{"Edit14", {520, 305, 65, 17}}, Placement{"Edit15", {400, 305, 65, 17}},
        Placement{"Edit16", {520, 322, 65, 17}}, Placement{"Edit17", {400, 322, 65, 17}},
        Placement{"Edit18", {400, 339, 65, 17}}, Placement{"Edit19", {520, 339, 65, 17}},
        Placement{"Chart1", {208, 140, 378, 125}}, Placement{"Label1", {362, 272, 27, 13}},
        Placement{"Label2", {362, 289, 18, 13}}, Placement{"Label3", {477, 289, 38, 13}},
        Placement{"Label4", {477, 272, 27, 13}}, Placement{"Label9", {477, 306, 30, 13}},
        Placement{"Label10", {362, 306, 34, 13}}, Placement{"Label15", {362, 323, 35, 13}},
        Placement{"Label20", {477, 323, 35, 13}}, Placement{"Label21", {362, 340, 31, 13}}),
    test::CaseName());

TEST_F(Window, HasAFixedSizeCaptionAndNoMaximiseButton) {
    EXPECT_EQ(form->windowTitle(), " Tesmera - demo");
    EXPECT_EQ(form->minimumSize(), QSize(590, 423));
    EXPECT_EQ(form->maximumSize(), QSize(590, 423));
    EXPECT_FALSE(form->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(form->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_EQ(form->windowIcon().availableSizes().value(0), QSize(32, 32));
}

TEST_F(Window, SpeedButtonsAreTabStopsButNoClickTakesTheFocus) {
    auto* load = Find<QToolButton>("SpeedButton1");
    auto* compute = Find<QToolButton>("SpeedButton3");
    EXPECT_EQ(load->focusPolicy(), Qt::TabFocus);
    EXPECT_EQ(compute->focusPolicy(), Qt::TabFocus);
    EXPECT_EQ(load->toolTip(), " Load the Voice File ");
    EXPECT_EQ(compute->toolTip(), " Compute the Data of the Voice File ");
    EXPECT_EQ(load->accessibleName(), "Load the Voice File");
    EXPECT_EQ(load->iconSize(), QSize(19, 19));
    EXPECT_EQ(compute->iconSize(), QSize(16, 16));
}

TEST_F(Window, StartsWithEveryFieldAndMemoEmpty) {
    for (const char* name : {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit14", "Edit15",
                             "Edit16", "Edit17", "Edit18", "Edit19"}) {
        EXPECT_TRUE(Find<QLineEdit>(name)->text().isEmpty()) << name;
    }
    for (const char* name : {"Memo1", "Memo3", "Memo4"}) {
        EXPECT_TRUE(Find<TMemo>(name)->Text().isEmpty()) << name;
    }
    EXPECT_FALSE(state->FileLoaded);
}

// A dark palette's light text would vanish on the controls whose light
// background is fixed; they keep dark text under any palette.
TEST_F(Window, FixedBackgroundsKeepDarkTextUnderADarkPalette) {
    QPalette dark = form->palette();
    dark.setColor(QPalette::Text, QColor(240, 240, 240));
    dark.setColor(QPalette::Base, QColor(30, 30, 30));
    form->setPalette(dark);
    for (const char* name : {"Memo1", "Memo3", "Memo4", "Edit1"}) {
        const QPalette& palette = Find(name)->palette();
        EXPECT_GT(
            palette.color(QPalette::Base).lightness() - palette.color(QPalette::Text).lightness(),
            150)
            << name;
    }
}

TEST_F(Window, LabelsCaptionTheirFields) {
    EXPECT_EQ(Find<QLabel>("Label1")->buddy(), Find("Edit2"));
    EXPECT_EQ(Find<QLabel>("Label2")->buddy(), Find("Edit3"));
    EXPECT_EQ(Find<QLabel>("Label9")->buddy(), Find("Edit14"));
    EXPECT_EQ(Find<QLabel>("Label9")->text(), "fs [Hz]");
    EXPECT_EQ(Find<QLabel>("Label4")->text(), "|MAX|");
}

TEST_F(Window, TabOrderFollowsTheFields) {
    QStringList tabOrder;
    QWidget* widget = Find("Edit1");
    do {
        if (widget->focusPolicy() & Qt::TabFocus) {
            tabOrder << widget->objectName();
        }
        widget = widget->nextInFocusChain();
    } while (widget != Find("Edit1"));
    EXPECT_EQ(tabOrder.join(' '),
              "Edit1 Edit2 Edit3 Edit4 Edit5 Memo1 Memo3 Memo4 Edit14 Edit15 Edit16 Edit17 "
              "Edit18 Edit19 SpeedButton1 SpeedButton3 SpeedButton4");
}

TEST_F(Window, ChartHoldsTheTitleAndTwentyZeroBars) {
    TChart& chart = Find<TChartControl>("Chart1")->Chart();
    ASSERT_EQ(chart.Title().Text().Count(), 1);
    EXPECT_EQ(chart.Title().Text()[0], " Fourier Coefficients \"AAx\" ");
    ASSERT_EQ(chart.SeriesCount(), 1);
    const TChartSeries& bars = chart.Series(0);
    ASSERT_EQ(bars.NumPoints(), 20);
    EXPECT_FALSE(bars.Marks().Visible());
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(bars.PointX(i), i);
        EXPECT_EQ(bars.PointY(i), 0.0);
        EXPECT_EQ(bars.PointLabel(i), QString::number(i + 1));
        EXPECT_EQ(bars.PointColor(i), clBlue);
    }
}

TEST_F(Window, ComputeBeforeAnyLoadIsRefused) {
    form->SpeedButton3Click();
    ASSERT_EQ(shown.warnings.size(), 1u);
    EXPECT_EQ(shown.warnings[0],
              " Soubor *.WAV neni v pameti  \r\n Delka zaznamu je vetsi nez 10000 vzorku ");
    EXPECT_TRUE(Find<QLineEdit>("Edit1")->text().isEmpty());
    EXPECT_TRUE(Find<TMemo>("Memo3")->Text().isEmpty());
}

TEST_F(Window, TypedTextIsClearedByTheNextLoad) {
    Find<QLineEdit>("Edit16")->setText("typed");
    Find<TMemo>("Memo4")->setPlainText("typed");
    form->SpeedButton1Click();  // cancelled: the script has no answer
    EXPECT_TRUE(Find<QLineEdit>("Edit16")->text().isEmpty());
    EXPECT_TRUE(Find<TMemo>("Memo4")->Text().isEmpty());
    EXPECT_TRUE(shown.warnings.empty());
    EXPECT_TRUE(shown.errors.empty());
}

TEST(Glyphs, HaveTheirSizes) {
    EXPECT_EQ(LoadGlyph().size(), QSize(19, 19));
    EXPECT_EQ(ComputeGlyph().size(), QSize(16, 16));
    EXPECT_EQ(DisabledGlyph(ComputeGlyph()).size(), QSize(16, 16));
    EXPECT_EQ(WindowIconImage().size(), QSize(32, 32));
}

TEST(Memo, KeepsCarriageReturnLineEnds) {
    TMemo memo;
    memo.SetText(" a\tb\r\n c\r\n");
    EXPECT_EQ(memo.Text(), " a\tb\r\n c\r\n");
}

}  // namespace
}  // namespace tesmera
