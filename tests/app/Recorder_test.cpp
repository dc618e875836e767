// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Recorder.h"

#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "app/RecordingWindow.h"
#include "app/ScriptedAudio.h"
#include "app/WindowFixture.h"
#include "recording/sound_input.h"
#include "support/TempFolder.h"
#include "tools/sustained_vowel.h"

namespace tesmera::testing {
namespace {

class Takes : public WindowFixture {
  protected:
    Takes() {
        auto scripted = std::make_unique<ScriptedAudio>();
        audio = scripted.get();
        form->UseAudioDevices(std::move(scripted));
    }

    Recorder* OpenRecorder() {
        form->RecordTake();
        auto* recorder = form->findChild<Recorder*>();
        EXPECT_NE(recorder, nullptr);
        recorder->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(recorder));
        return recorder;
    }

    QString Label(Recorder* recorder, const char* name) const {
        return recorder->findChild<QLabel*>(QLatin1String(name))->text();
    }

    // Records `vowel` through the recorder at 48 kHz and waits for its window.
    RecordingWindow* RecordVowel(const tools::GeneratedVowel& vowel) {
        Recorder* recorder = OpenRecorder();
        recorder->findChild<QComboBox*>(QStringLiteral("SampleRate"))->setCurrentIndex(1);
        QTest::keyClick(recorder, Qt::Key_Space);
        audio->Deliver(vowel.Samples);
        QTest::keyClick(recorder, Qt::Key_Space);
        EXPECT_TRUE(AwaitRecording(*form));
        auto* window = form->findChild<RecordingWindow*>();
        if (window != nullptr) {
            window->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(window));
        }
        return window;
    }

    ScriptedAudio* audio = nullptr;  // owned by the form
};

TEST_F(Takes, RecorderShowsLevelPeakClippingAndNoiseFloorAndAnnouncesThem) {
    Recorder* recorder = OpenRecorder();
    recorder->findChild<QComboBox*>(QStringLiteral("InputDevice"))->setCurrentIndex(1);
    QTest::keyClick(recorder, Qt::Key_Space);
    ASSERT_TRUE(audio->Capturing());
    EXPECT_EQ(audio->captureInput, "usb");
    EXPECT_EQ(audio->captureRate, 44100);
    EXPECT_EQ(Label(recorder, "RecorderState"), "Recording");
    EXPECT_EQ(Label(recorder, "NoiseFloor"), "Noise floor: measured during the first second");

    audio->Deliver(std::vector<double>(44100, 0.001));  // a second of room noise: -60 dBFS
    EXPECT_EQ(Label(recorder, "NoiseFloor"), "Noise floor -60 dBFS");
    audio->Deliver(std::vector<double>(441, 0.1));
    EXPECT_EQ(Label(recorder, "LevelLine"), "Level -20 dBFS, peak -20 dBFS");
    EXPECT_EQ(recorder->findChild<QLabel*>(QStringLiteral("LevelLine"))->accessibleDescription(),
              "Level -20 dBFS, peak -20 dBFS");
    EXPECT_FALSE(recorder->findChild<QLabel*>(QStringLiteral("Clipping"))->isVisibleTo(recorder));

    audio->Deliver(std::vector<double>(441, 1.0));
    EXPECT_TRUE(recorder->findChild<QLabel*>(QStringLiteral("Clipping"))->isVisibleTo(recorder));
    // What a screen reader is told of under each fixed name.
    const auto told = [recorder](const char* name) {
        return recorder->findChild<QLabel*>(QLatin1String(name))->accessibleDescription();
    };
    EXPECT_EQ(told("RecorderState"), "Recording, clipping");
    EXPECT_EQ(told("NoiseFloor"), "Noise floor -60 dBFS");
    EXPECT_EQ(told("LevelLine"), "Level 0 dBFS, peak 0 dBFS");
    for (QWidget* control : recorder->findChildren<QWidget*>()) {
        if (control->focusPolicy() != Qt::NoFocus && control->isVisibleTo(recorder)) {
            EXPECT_FALSE(
                QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name).isEmpty())
                << control->metaObject()->className() << " " << control->objectName().toStdString();
        }
    }

    QTest::keyClick(recorder, Qt::Key_Space);
    EXPECT_FALSE(audio->Capturing());
    EXPECT_EQ(recorder->result(), QDialog::Accepted);
}

TEST_F(Takes, ATakeOpensAtOnceAndClosingAsksUntilItIsSaved) {
    const tools::GeneratedVowel vowel = tools::GenerateVowel({.Rate = 48000});
    RecordingWindow* window = RecordVowel(vowel);
    ASSERT_NE(window, nullptr) << (shown.errors.empty() ? "" : shown.errors[0].toStdString());
    EXPECT_EQ(window->windowTitle(), "Recording - New take");
    EXPECT_GT(window->Report().Cycles.size(), 100u);
    EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("StatusLine"))->text(),
              "This take is not saved yet.");

    EXPECT_FALSE(window->close());
    ASSERT_EQ(shown.questions.size(), 1u);

    const tesmera::test::TempFolder folder;
    const QString path = QString::fromStdString((folder.Path() / "take.wav").string());
    dialogs->Choose(path);
    window->SaveTake();
    EXPECT_EQ(shown.fileDialogs.back().first, "take");
    EXPECT_EQ(window->windowTitle(), "Recording - take.wav");
    RecordingFile saved(path.toStdString());
    EXPECT_EQ(saved.SampleRate(), 48000);
    EXPECT_EQ(saved.SampleCount(), vowel.Samples.size());
    EXPECT_TRUE(window->close());
    EXPECT_EQ(shown.questions.size(), 1u);
}

TEST_F(Takes, SpacePlaysAndStopsAndTheCycleLoops) {
    RecordingWindow* window = RecordVowel(tools::GenerateVowel({.Rate = 48000}));
    ASSERT_NE(window, nullptr);
    QTest::keyClick(window, Qt::Key_Space);
    EXPECT_TRUE(audio->playing);
    EXPECT_FALSE(audio->looped);
    EXPECT_EQ(audio->played.Samples.size(), 1.4 * 48000);
    QTest::keyClick(window, Qt::Key_Space);
    EXPECT_FALSE(audio->playing);

    window->Play(PlayedPart::Cycle);
    EXPECT_TRUE(audio->looped);
    EXPECT_NEAR(static_cast<double>(audio->played.Samples.size()), 48000 / 150.0, 2);
    window->Play(PlayedPart::Stretch);
    EXPECT_GT(audio->played.Samples.size(), 0.5 * 48000);
    EXPECT_LT(audio->played.Samples.size(), 1.0 * 48000);
}

}  // namespace
}  // namespace tesmera::testing
