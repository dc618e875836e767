// SPDX-License-Identifier: GPL-3.0-or-later
// "Compare with..." in the recording window: the chosen recording is read
// away from the window's thread, then both overviews and the table of
// changes show in a window of their own.
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include "app/ComparisonWindow.h"
#include "app/RecordingAnalysis.h"
#include "app/RecordingOverview.h"
#include "app/RecordingWindow.h"
#include "app/WindowFixture.h"
#include "app/recording_files.h"

namespace tesmera {
namespace {

using testing::WindowFixture;

tools::VowelRecipe Voice(double jitter, std::uint32_t seed) {
    return {.F0 = 130, .Jitter = jitter, .Shimmer = 0.04, .HnrDb = 20, .Seconds = 2, .Seed = seed};
}

class Comparison : public WindowFixture {
  protected:
    test::TempFolder folder;
};

TEST_F(Comparison, ShowsBothRecordingsAndWhichFiguresReallyChanged) {
    const QString before =
        QString::fromStdString(testing::AddVowel(folder, "before.wav", Voice(0.02, 1)));
    const QString after =
        QString::fromStdString(testing::AddVowel(folder, "after.wav", Voice(0.008, 2)));
    form->OpenFiles({before});
    ASSERT_TRUE(testing::AwaitRecording(*form));
    auto* window = form->findChild<RecordingWindow*>();
    ASSERT_NE(window, nullptr);

    dialogs->Choose(after);
    auto* button = window->findChild<QPushButton*>(QStringLiteral("CompareButton"));
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
    const QDeadlineTimer deadline(std::chrono::seconds{120});
    while (window->findChild<ComparisonWindow*>() == nullptr && !deadline.hasExpired()) {
        QTest::qWait(5);
    }
    EXPECT_TRUE(shown.errors.empty() && shown.warnings.empty());
    ASSERT_EQ(shown.fileDialogs.size(), 1u);
    EXPECT_EQ(shown.fileDialogs[0].first, "recording");
    EXPECT_EQ(QDir(shown.fileDialogs[0].second), QFileInfo(before).absoluteDir())
        << "the dialog starts beside the open recording";

    auto* comparison = window->findChild<ComparisonWindow*>();
    ASSERT_NE(comparison, nullptr);
    EXPECT_EQ(comparison->windowTitle(), "Comparison - before.wav and after.wav");
    const auto overviews = comparison->findChildren<RecordingOverview*>();
    ASSERT_EQ(overviews.size(), 2);
    EXPECT_EQ(overviews[0]->accessibleName(), "Before: before.wav");
    EXPECT_EQ(overviews[1]->accessibleName(), "After: after.wav");
    EXPECT_LT(overviews[0]->y(), overviews[1]->y()) << "one above the other";

    auto* table = comparison->findChild<QTableWidget*>(QStringLiteral("ComparisonTable"));
    ASSERT_NE(table, nullptr);
    // Every figure but AVQI, which needs a speech sample.
    ASSERT_EQ(table->rowCount(), 17);
    EXPECT_EQ(table->item(1, 0)->text(), "jitter local (%)");
    EXPECT_EQ(table->item(1, 5)->text(), "changed");
    EXPECT_TRUE(table->item(1, 3)->text().startsWith('-')) << "less jitter after";
    EXPECT_EQ(table->item(16, 0)->text(), "SCORE(25) median");
    EXPECT_TRUE(button->isEnabled());
}

}  // namespace
}  // namespace tesmera
