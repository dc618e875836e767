// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader finds in the window: names, descriptions with the
// shortcuts, the chart's bar values and the oscilloscope's content, and a
// "press" that returns before its command runs.
#include <string>

#include <QAccessible>
#include <QApplication>
#include <QRegularExpression>
#include <QToolButton>

#include <gtest/gtest.h>

#include "app/WindowFixture.h"

namespace tesmera {
namespace {

using testing::WindowFixture;

class Accessible : public WindowFixture {
  protected:
    QString Text(const char* name, QAccessible::Text kind) const {
        QWidget* control = form->objectName() == QLatin1String(name) ? form.get() : Find(name);
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(control);
        EXPECT_NE(face, nullptr) << name;
        return face != nullptr ? face->text(kind) : QString();
    }
    QString Description(const char* name) const { return Text(name, QAccessible::Description); }

    void LoadAndCompute(const char* sample) {
        Load(std::string(TESMERA_SOURCE_DIR "/samples/") + sample);
        form->SpeedButton3Click();
        ASSERT_TRUE(shown.errors.empty());
    }
};

struct NamedControl {
    const char* control;
    const char* name;
    const char* descriptionPart;  // found in its description
};

class ControlNames : public Accessible, public ::testing::WithParamInterface<NamedControl> {};

TEST_P(ControlNames, AreAnnouncedWithTheirShortcut) {
    EXPECT_EQ(Text(GetParam().control, QAccessible::Name), GetParam().name);
    EXPECT_TRUE(Description(GetParam().control).contains(GetParam().descriptionPart))
        << Description(GetParam().control).toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Form1, ControlNames,
    ::testing::Values(NamedControl{"SpeedButton1", "Load the Voice File", "Ctrl+O"},
                      NamedControl{"SpeedButton3", "Compute the Data of the Voice File",
                                   "F9 or Ctrl+Return"},
                      NamedControl{"SpeedButton4", "Open a recording", "Ctrl+Shift+O"},
                      NamedControl{"Form1", " Tesmera - demo", "Ctrl+Q"},
                      NamedControl{"Chart1", "Harmonic amplitude chart", "AA20 0.0"},
                      NamedControl{"Image1", "Oscilloscope", "Empty"}),
    [](const auto& info) { return std::string(info.param.control); });

TEST_F(Accessible, EveryControlHasAName) {
    for (QWidget* control : form->findChildren<QWidget*>()) {
        // Qt's own parts of a scroll area carry "qt_" names and no role.
        if (!control->objectName().isEmpty() && !control->objectName().startsWith("qt_")) {
            EXPECT_FALSE(control->accessibleName().isEmpty())
                << control->objectName().toStdString();
        }
    }
}

TEST_F(Accessible, TheThirdButtonSitsRightOfComputeAndMovesNothing) {
    auto* button = Find<QToolButton>("SpeedButton4");
    EXPECT_EQ(button->geometry(), QRect(66, 8, 25, 25));
    EXPECT_EQ(button->parentWidget(), Find("Panel1"));
    EXPECT_EQ(button->toolTip(), " Open a Recording ");
    EXPECT_EQ(button->focusPolicy(), Qt::TabFocus);
    EXPECT_EQ(button->iconSize(), QSize(16, 16));
    EXPECT_EQ(Find("Panel1")->geometry(), QRect(6, 3, 579, 41));
    EXPECT_EQ(Find<QToolButton>("SpeedButton1")->toolTip(), " Load the Voice File ");
    EXPECT_EQ(Find<QToolButton>("SpeedButton3")->toolTip(), " Compute the Data of the Voice File ");
}

// A plain top-level widget would be a nameless "filler" to a screen reader.
TEST_F(Accessible, TheWindowIsAFrameNamedByItsTitle) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(form.get());
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(face->role(), QAccessible::Window);
    EXPECT_EQ(face->text(QAccessible::Name), " Tesmera - demo");
}

TEST_F(Accessible, ChartStartsWithTwentyZeroBars) {
    const QStringList bars = Description("Chart1").split(QStringLiteral(", "));
    ASSERT_EQ(bars.size(), 20);
    EXPECT_EQ(bars.first(), "AA1 0.0");
    EXPECT_EQ(bars.last(), "AA20 0.0");
}

// The chart's description must say what the bars show: each of the 15 bars
// that the coefficient table also lists carries the table's AA value.
TEST_F(Accessible, ChartDescriptionListsTheComputedBars) {
    LoadAndCompute("vowel_u_male2.wav");
    const QStringList bars = Description("Chart1").split(QStringLiteral(", "));
    ASSERT_EQ(bars.size(), 20);
    const QStringList rows = MemoText("Memo1").split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    for (int i = 1; i <= 15; ++i) {
        const QString tableValue = rows[i].split(QLatin1Char('\t')).last();
        EXPECT_EQ(bars[i - 1], QStringLiteral("AA%1 %2").arg(i).arg(tableValue)) << i;
    }
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^AA20 \\d+\\.\\d$")).match(bars[19]).hasMatch())
        << bars[19].toStdString();
}

TEST_F(Accessible, ChartDescriptionFallsBackToZeroOnTheNextLoad) {
    LoadAndCompute("vowel_u_male2.wav");
    Load(TESMERA_SOURCE_DIR "/samples/vowel_a_male1.wav");
    EXPECT_TRUE(Description("Chart1").startsWith("AA1 0.0, AA2 0.0"));
}

TEST_F(Accessible, OscilloscopeSaysWhatItShows) {
    Load(TESMERA_SOURCE_DIR "/samples/vowel_u_male2.wav");
    EXPECT_EQ(
        Description("Image1"),
        QStringLiteral("The loaded voice period, %1 samples, in blue").arg(state->SampleCount));
    form->SpeedButton3Click();
    EXPECT_EQ(Description("Image1"),
              QStringLiteral("The voice period in blue over its approximation by %1 harmonics "
                             "in red")
                  .arg(state->ApproxOrder));
}

// An assistive tool's press comes back before the modal dialog opens, so
// the tool's call does not time out.
TEST_F(Accessible, PressActionReturnsBeforeTheCommandRuns) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(Find("SpeedButton1"));
    ASSERT_NE(face, nullptr);
    QAccessibleActionInterface* actions = face->actionInterface();
    ASSERT_NE(actions, nullptr);
    actions->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(shown.fileDialogs.empty());
    QApplication::processEvents();
    ASSERT_EQ(shown.fileDialogs.size(), 1u);
    EXPECT_EQ(shown.fileDialogs[0].first, "voice");
}

}  // namespace
}  // namespace tesmera
