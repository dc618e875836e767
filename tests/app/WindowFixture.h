// SPDX-License-Identifier: GPL-3.0-or-later
// A main window with scripted dialogs, for tests that run its commands.
#pragma once

#include <memory>

#include <QDeadlineTimer>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include "app/RecordingAnalysis.h"
#include "app/ScriptedDialogs.h"
#include "app/TForm1.h"
#include "app/TMemo.h"

namespace tesmera::testing {

// Runs the event loop until the recording being opened has been shown or
// refused; false when that takes longer than `seconds`.
inline bool AwaitRecording(TForm1& form, int seconds = 120) {
    const QDeadlineTimer deadline(std::chrono::seconds{seconds});
    while (form.Recordings().Busy() && !deadline.hasExpired()) {
        QTest::qWait(5);
    }
    return !form.Recordings().Busy();
}

class WindowFixture : public ::testing::Test {
  protected:
    WindowFixture() {
        auto scripted = std::make_unique<ScriptedDialogs>(shown);
        dialogs = scripted.get();
        form = std::make_unique<TForm1>(*state, std::move(scripted));
    }

    template <typename Control = QWidget>
    Control* Find(const char* name) const {
        auto* control = form->findChild<Control*>(QLatin1String(name));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }

    QString Field(const char* name) const { return Find<QLineEdit>(name)->text(); }
    QString MemoText(const char* name) const { return Find<TMemo>(name)->Text(); }

    void Load(const std::string& path) {
        dialogs->Choose(QString::fromStdString(path));
        form->SpeedButton1Click();
    }

    std::unique_ptr<AnalysisState> state = std::make_unique<AnalysisState>();
    ShownMessages shown;
    ScriptedDialogs* dialogs = nullptr;  // owned by the form
    std::unique_ptr<TForm1> form;
};

}  // namespace tesmera::testing
