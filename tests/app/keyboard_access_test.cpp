// SPDX-License-Identifier: GPL-3.0-or-later
// The window driven from the keyboard: the shortcuts work from every control,
// start their commands only after the key event has returned, and Tab walks
// every field and memo.
#include <string>
#include <vector>

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include "app/WindowFixture.h"
#include "support/param_name.h"

namespace tesmera {
namespace {

using testing::WindowFixture;

// What a shortcut visibly does with scripted dialogs and nothing loaded.
enum class Effect { LoadDialog, ComputeRefusal, RecordingDialog, Closes };

struct ShortcutCase : test::NamedCase<ShortcutCase> {
    int key;
    Qt::KeyboardModifiers modifiers;
    const char* focus;  // the control that holds the keyboard focus
    Effect effect;
};

std::vector<ShortcutCase> ShortcutCases() {
    struct Keys {
        const char* name;
        int key;
        Qt::KeyboardModifiers modifiers;
        Effect effect;
    };
    const Keys keys[] = {
        {"CtrlO", Qt::Key_O, Qt::ControlModifier, Effect::LoadDialog},
        {"F9", Qt::Key_F9, Qt::NoModifier, Effect::ComputeRefusal},
        {"CtrlReturn", Qt::Key_Return, Qt::ControlModifier, Effect::ComputeRefusal},
        {"CtrlShiftO", Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier, Effect::RecordingDialog},
        {"CtrlQ", Qt::Key_Q, Qt::ControlModifier, Effect::Closes},
    };
    std::vector<ShortcutCase> cases;
    for (const Keys& k : keys) {
        for (const char* focus : {"Edit1", "Edit5", "Memo1", "Memo4", "Edit19"}) {
            cases.push_back(
                {std::string(k.name) + "_in_" + focus, k.key, k.modifiers, focus, k.effect});
        }
    }
    return cases;
}

class ShownWindow : public WindowFixture {
  protected:
    ShownWindow() {
        form->show();
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    void Focus(const char* name) {
        Find(name)->setFocus();
        EXPECT_EQ(QApplication::focusWidget(), Find(name));
    }
};

class Shortcut : public ShownWindow, public ::testing::WithParamInterface<ShortcutCase> {};

TEST_P(Shortcut, WorksFromEveryControlOnceTheKeyEventHasReturned) {
    const ShortcutCase& c = GetParam();
    Focus(c.focus);
    QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(c.key), c.modifiers);
    if (c.effect == Effect::Closes) {
        EXPECT_FALSE(form->isVisible());
        return;
    }
    // Nothing has run inside the key event.
    EXPECT_TRUE(shown.fileDialogs.empty());
    EXPECT_TRUE(shown.warnings.empty());
    QApplication::processEvents();
    switch (c.effect) {
        case Effect::LoadDialog:
            ASSERT_EQ(shown.fileDialogs.size(), 1u);
            EXPECT_EQ(shown.fileDialogs[0].first, "voice");
            break;
        case Effect::RecordingDialog:
            ASSERT_EQ(shown.fileDialogs.size(), 1u);
            EXPECT_EQ(shown.fileDialogs[0].first, "recording");
            break;
        case Effect::ComputeRefusal:
            ASSERT_EQ(shown.warnings.size(), 1u);
            EXPECT_TRUE(shown.warnings[0].startsWith(" Soubor *.WAV neni v pameti"));
            break;
        case Effect::Closes:
            break;
    }
    // The typed keys left no text behind in the focused control.
    if (auto* field = qobject_cast<QLineEdit*>(Find(c.focus))) {
        EXPECT_TRUE(field->text().isEmpty());
    } else {
        EXPECT_TRUE(MemoText(c.focus).isEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(Form1, Shortcut, ::testing::ValuesIn(ShortcutCases()), test::CaseName());

TEST_F(ShownWindow, AKeyPressedTwiceBeforeTheCommandRunsStartsItOnce) {
    Focus("Edit1");
    QTest::keyClick(Find("Edit1"), Qt::Key_F9);
    QTest::keyClick(Find("Edit1"), Qt::Key_F9);
    QApplication::processEvents();
    EXPECT_EQ(shown.warnings.size(), 1u);
}

TEST_F(ShownWindow, ClickingAButtonRunsItsCommandAfterTheClick) {
    QTest::mouseClick(Find("SpeedButton3"), Qt::LeftButton);
    EXPECT_TRUE(shown.warnings.empty());
    QApplication::processEvents();
    EXPECT_EQ(shown.warnings.size(), 1u);
}

struct TabCase : test::NamedCase<TabCase> {
    Qt::KeyboardModifiers modifiers;
    const char* expectedWalk;  // the focus after each of 17 presses
};

class TabWalk : public ShownWindow, public ::testing::WithParamInterface<TabCase> {};

TEST_P(TabWalk, VisitsEveryFieldMemoAndButtonAndComesBack) {
    Focus("Edit1");
    QStringList walk;
    for (int i = 0; i < 17; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, GetParam().modifiers);
        walk << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(walk.join(' '), GetParam().expectedWalk);
    EXPECT_TRUE(MemoText("Memo1").isEmpty()) << "a tab was typed into a memo";
}

INSTANTIATE_TEST_SUITE_P(
    Form1, TabWalk,
    ::testing::Values(TabCase{"Tab", Qt::NoModifier,
                              "Edit2 Edit3 Edit4 Edit5 Memo1 Memo3 Memo4 Edit14 Edit15 Edit16 "
                              "Edit17 Edit18 Edit19 SpeedButton1 SpeedButton3 SpeedButton4 Edit1"},
                      TabCase{"ShiftTab", Qt::ShiftModifier,
                              "SpeedButton4 SpeedButton3 SpeedButton1 Edit19 Edit18 Edit17 Edit16 "
                              "Edit15 Edit14 Memo4 Memo3 Memo1 Edit5 Edit4 Edit3 Edit2 Edit1"}),
    test::CaseName());

TEST_F(ShownWindow, MemosStillTakeTypedText) {
    Focus("Memo4");
    QTest::keyClicks(Find("Memo4"), "note");
    QTest::keyClick(Find("Memo4"), Qt::Key_Return);
    QTest::keyClicks(Find("Memo4"), "more");
    EXPECT_EQ(MemoText("Memo4"), "note\r\nmore");
}

}  // namespace
}  // namespace tesmera
