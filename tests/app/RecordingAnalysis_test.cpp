// SPDX-License-Identifier: GPL-3.0-or-later
// Opening a recording on a thread of its own: the window keeps answering
// while a long recording is read and reported, Escape drops it, and a
// second recording replaces the first.
#include <algorithm>
#include <string>

#include <QApplication>
#include <QProgressDialog>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "app/RecordingAnalysis.h"
#include "app/RecordingWindow.h"
#include "app/WindowFixture.h"
#include "app/recording_files.h"

namespace tesmera {
namespace {

// A steady vowel of a minute at 44100 Hz, written once for every test here.
const std::string& MinuteVowel() {
    static const test::TempFolder folder;
    static const std::string path =
        testing::AddVowel(folder, "minute3.wav", {.F0 = 140, .Seconds = 60});
    return path;
}

QString Path(const std::string& path) {
    return QString::fromStdString(path);
}

// The longest time the event loop went without running a timer that asks
// to run every 5 ms, from construction on.
// Counts the turns of the event loop: a timer that fires whenever the loop
// is free.
class LoopTurns {
  public:
    LoopTurns() {
        QObject::connect(&timer_, &QTimer::timeout, [this] { ++turns_; });
        timer_.start(0);
    }
    int Count() const { return turns_; }

  private:
    QTimer timer_;
    int turns_ = 0;
};

class OpenedAside : public testing::WindowFixture {
  protected:
    OpenedAside() {
        form->show();
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    QList<RecordingWindow*> RecordingWindows() const {
        return form->findChildren<RecordingWindow*>();
    }
    // Runs the event loop until no thread works on a recording any more.
    bool AwaitIdle() {
        return QTest::qWaitFor([&] { return form->Recordings().Idle(); }, 120000);
    }
    test::TempFolder folder;
};

// Blocking, not speed: whatever the machine, the reading and the report
// run beside the event loop, which keeps turning while they work (it would
// turn a handful of times if they ran on it), and only the small model
// reaches the window.
TEST_F(OpenedAside, AMinuteLongRecordingIsReadBesideTheEventLoop) {
    const QString path = Path(MinuteVowel());
    const LoopTurns turns;
    form->OpenFiles({path});
    ASSERT_TRUE(testing::AwaitRecording(*form));
    ASSERT_EQ(RecordingWindows().size(), 1);
    EXPECT_GT(turns.Count(), 100);
    EXPECT_TRUE(shown.errors.empty());
    EXPECT_TRUE(RecordingWindows()[0]->Report().Ok());
}

TEST_F(OpenedAside, EscapeDropsTheRecordingUnderWay) {
    QSignalSpy progress(&form->Recordings(), &RecordingAnalysis::Progressed);
    form->OpenFiles({Path(MinuteVowel())});
    ASSERT_TRUE(progress.wait(60000)) << "the scan reports its progress";
    EXPECT_NE(QApplication::overrideCursor(), nullptr);
    QTest::keyClick(form.get(), Qt::Key_Escape);
    EXPECT_FALSE(form->Recordings().Busy());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    ASSERT_TRUE(AwaitIdle());
    QApplication::processEvents();
    EXPECT_TRUE(RecordingWindows().isEmpty());
    EXPECT_TRUE(shown.errors.empty());
    EXPECT_EQ(form->findChild<QProgressDialog*>(), nullptr) << "the progress window is gone";
}

TEST_F(OpenedAside, ASecondRecordingReplacesTheOneUnderWay) {
    form->OpenFiles({Path(MinuteVowel())});
    const std::string second = testing::AddVowel(folder, "second2.wav");
    form->OpenFiles({Path(second)});
    ASSERT_TRUE(testing::AwaitRecording(*form));
    ASSERT_TRUE(AwaitIdle());
    QApplication::processEvents();
    const auto windows = RecordingWindows();
    ASSERT_EQ(windows.size(), 1);
    EXPECT_EQ(windows[0]->windowTitle(), "Recording - second2.wav");
    EXPECT_TRUE(shown.errors.empty());
}

}  // namespace
}  // namespace tesmera
