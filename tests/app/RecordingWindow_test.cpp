// SPDX-License-Identifier: GPL-3.0-or-later
// The recording window on the bundled recording and on generated voices:
// what it shows, how a cycle is chosen, the two ways a cycle leaves it, and
// the report as a PDF page or printed.
#include <climits>
#include <filesystem>
#include <map>
#include <string>

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include "app/CycleDetailView.h"
#include "app/RecordingOverview.h"
#include "app/RecordingWindow.h"
#include "app/WindowFixture.h"
#include "app/recording_files.h"
#include "chart/TChartControl.h"
#include "recording/cycle_file_name.h"
#include "recording/report_summary.h"
#include "support/param_name.h"
#include "support/process_run.h"
#include "wave/period_file.h"

namespace tesmera {
namespace {

using testing::WindowFixture;

const QString BundledRecording =
    QStringLiteral(TESMERA_SOURCE_DIR "/samples/recordings/sustained_a_male.wav");

class Recording : public WindowFixture {
  protected:
    RecordingWindow* Open(const QString& path) {
        form->OpenFiles({path});
        EXPECT_TRUE(testing::AwaitRecording(*form));
        const auto windows = form->findChildren<RecordingWindow*>();
        EXPECT_EQ(windows.size(), 1);
        EXPECT_TRUE(shown.errors.empty()) << shown.errors.front().toStdString();
        return windows.isEmpty() ? nullptr : windows.first();
    }
    template <typename Control = QWidget>
    Control* In(RecordingWindow* window, const char* name) {
        auto* control = window->findChild<Control*>(QLatin1String(name));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    test::TempFolder folder;
};

TEST_F(Recording, ShowsTheBundledRecordingWithItsReport) {
    RecordingWindow* window = Open(BundledRecording);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), "Recording - sustained_a_male.wav");
    EXPECT_TRUE(window->isWindow());
    EXPECT_NE(window->maximumWidth(), window->minimumWidth()) << "resizable";
    const VoiceReport& report = window->Report();
    EXPECT_TRUE(report.Ok());
    EXPECT_GT(report.Cycles.size(), 60u);
    EXPECT_FALSE(report.Cycles[window->SelectedCycle()].Period.empty());

    auto* models = In<QTableWidget>(window, "ModelTable");
    ASSERT_EQ(models->rowCount(), 6);
    EXPECT_EQ(models->item(0, 0)->text(), "10");
    EXPECT_EQ(models->item(5, 0)->text(), "25");
    EXPECT_EQ(models->item(2, 2)->text(), QString::number(report.Models[2].Score));
    auto* measures = In<QTableWidget>(window, "MeasureTable");
    ASSERT_EQ(measures->rowCount(), 16);
    EXPECT_EQ(measures->item(5, 0)->text(), "Jitter local");
    EXPECT_EQ(measures->item(5, 2)->text(), "below 1.04 % (MDVP, in the Praat manual)");
    EXPECT_EQ(In<QLabel>(window, "SummaryLine")->text(),
              QString::fromStdString(ReportSummary(report)));
    EXPECT_TRUE(measures->item(2, 1)->text().contains(" cycles analysed"));
    EXPECT_TRUE(measures->item(3, 1)->text().startsWith("120.")) << "F0 of about 120 Hz";
    EXPECT_EQ(In<QLabel>(window, "SteadinessVerdict")->text(),
              "Steady voice: one voice throughout, and the halves of the stretch agree on every "
              "model.");
}

struct ChoiceCase : test::NamedCase<ChoiceCase> {
    int key;
    int expectedFromMiddle;  // offset from the starting cycle; INT_MIN first, INT_MAX last
};

class CycleChoice : public Recording, public ::testing::WithParamInterface<ChoiceCase> {};

TEST_P(CycleChoice, MovesTheSelectionAndEverythingFollows) {
    RecordingWindow* window = Open(BundledRecording);
    ASSERT_NE(window, nullptr);
    const std::size_t start = window->SelectedCycle();
    const std::size_t last = window->Report().Cycles.size() - 1;
    auto* detail = In<CycleDetailView>(window, "CycleDetailView");
    QTest::keyClick(detail, static_cast<Qt::Key>(GetParam().key));
    const int offset = GetParam().expectedFromMiddle;
    const std::size_t expected = offset == INT_MIN ? 0 : offset == INT_MAX ? last : start + offset;
    EXPECT_EQ(window->SelectedCycle(), expected);
    EXPECT_EQ(In<QSpinBox>(window, "CycleNumber")->value(), static_cast<int>(expected + 1));
    EXPECT_TRUE(In<QLabel>(window, "CycleText")
                    ->text()
                    .startsWith(QStringLiteral("Cycle %1 of %2").arg(expected + 1).arg(last + 1)));
}

INSTANTIATE_TEST_SUITE_P(RecordingWindow, CycleChoice,
                         ::testing::Values(ChoiceCase{"Right", Qt::Key_Right, 1},
                                           ChoiceCase{"Left", Qt::Key_Left, -1},
                                           ChoiceCase{"Home", Qt::Key_Home, INT_MIN},
                                           ChoiceCase{"End", Qt::Key_End, INT_MAX}),
                         test::CaseName());

TEST_F(Recording, LeftStopsAtTheFirstCycleAndRightAtTheLast) {
    RecordingWindow* window = Open(BundledRecording);
    auto* detail = In<CycleDetailView>(window, "CycleDetailView");
    window->SelectCycle(0);
    QTest::keyClick(detail, Qt::Key_Left);
    EXPECT_EQ(window->SelectedCycle(), 0u);
    window->SelectCycle(1000000);
    const std::size_t last = window->Report().Cycles.size() - 1;
    EXPECT_EQ(window->SelectedCycle(), last);
    QTest::keyClick(detail, Qt::Key_Right);
    EXPECT_EQ(window->SelectedCycle(), last);
}

// The window fits a 1366 x 768 screen at 100 % and a 1920 x 1080 one at
// 200 % (960 x 540 logical pixels less a title bar and a panel), and opens
// inside the screen's free area whatever its size.
TEST_F(Recording, FitsSmallAndScaledScreens) {
    RecordingWindow* window = Open(BundledRecording);
    ASSERT_NE(window, nullptr);
    const QSize least = window->minimumSizeHint();
    EXPECT_LE(least.width(), 960);
    EXPECT_LE(least.height(), 540 - 80) << least.height();
    window->resize(4000, 3000);
    window->PlaceBeside(*form);
    EXPECT_TRUE(window->screen()->availableGeometry().contains(window->frameGeometry()))
        << window->frameGeometry().x() << "," << window->frameGeometry().y() << " "
        << window->frameGeometry().width() << "x" << window->frameGeometry().height();
}

// A screen reader finds a frame named by its title, the selected cycle
// described as the line beside the spin box gives it, and the steadiness
// verdict in full, reached by Tab.
TEST_F(Recording, TellsAScreenReaderWhatItShows) {
    RecordingWindow* window = Open(BundledRecording);
    ASSERT_NE(window, nullptr);
    QAccessibleInterface* frame = QAccessible::queryAccessibleInterface(window);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->role(), QAccessible::Window);
    EXPECT_EQ(frame->text(QAccessible::Name), "Recording - sustained_a_male.wav");
    window->SelectCycle(2);
    EXPECT_EQ(In<CycleDetailView>(window, "CycleDetailView")->accessibleDescription(),
              In<QLabel>(window, "CycleText")->text() + "; Left and Right choose another");
    EXPECT_TRUE(In<QLabel>(window, "CycleText")->text().contains(" s, "));
    auto* verdict = In<QLabel>(window, "SteadinessVerdict");
    EXPECT_TRUE(verdict->focusPolicy() & Qt::TabFocus);
    EXPECT_EQ(verdict->accessibleDescription(), verdict->text());
}

// The detail view zooms from the whole stretch to a typical cycle 40 pixels
// wide, keeps the selected cycle in sight, and the scroll bar and the
// overview's frame follow it.
TEST_F(Recording, DetailViewZoomsAndScrollsAroundTheSelectedCycle) {
    RecordingWindow* window = Open(BundledRecording);
    ASSERT_NE(window, nullptr);
    window->resize(780, 900);
    window->show();
    auto* detail = In<CycleDetailView>(window, "CycleDetailView");
    auto* scroll = In<QScrollBar>(window, "ViewScrollBar");
    const ViewRange whole = detail->View();
    ASSERT_TRUE(whole.ShowsAll());
    EXPECT_EQ(scroll->maximum(), 0);
    const std::size_t selected = window->SelectedCycle();
    for (int press = 0; press < 40; ++press) {
        QTest::keyClick(detail, Qt::Key_Plus);
    }
    const ReportedCycle& cycle = window->Report().Cycles[selected];
    const SampleAxis axis = detail->Axis();
    const double pixels = axis.ToX(cycle.EndSample) - axis.ToX(cycle.StartSample);
    EXPECT_NEAR(pixels, CycleDetailView::MinimumCyclePixels, 8) << "the closest zoom";
    EXPECT_GE(cycle.StartSample, detail->View().First());
    EXPECT_LE(cycle.EndSample, detail->View().End());
    EXPECT_GT(scroll->maximum(), 0);
    EXPECT_NEAR(scroll->value(), detail->View().First() - whole.First(), 1);

    // Ctrl+wheel zooms out around the mouse: the sample under it stays.
    const QPointF at(200, detail->height() / 2.0);
    const double under = detail->Axis().ToSample(at.x());
    QWheelEvent wheel(at, detail->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(detail, &wheel);
    EXPECT_NEAR(detail->Axis().ToX(under), at.x(), 1);

    // The scroll bar moves the view; choosing a cycle out of sight brings it back.
    scroll->setValue(scroll->maximum());
    EXPECT_NEAR(detail->View().End(), whole.End(), 1);
    window->SelectCycle(0);
    EXPECT_LE(detail->View().First(), window->Report().Cycles[0].StartSample);
    EXPECT_NEAR(scroll->value(), detail->View().First() - whole.First(), 1);
    for (int press = 0; press < 40; ++press) {
        QTest::keyClick(detail, Qt::Key_Minus);
    }
    EXPECT_TRUE(detail->View().ShowsAll());
}

// Under the waveform each analysed cycle shows its grade per model in the
// grade's colour, row by row.
TEST_F(Recording, GradeStripsShowEachCyclesGradePerModel) {
    RecordingWindow* window = Open(BundledRecording);
    ASSERT_NE(window, nullptr);
    auto* detail = In<CycleDetailView>(window, "CycleDetailView");
    window->SelectCycle(0);
    const QImage& picture = detail->Picture();
    const SampleAxis axis = detail->Axis();
    const int top = picture.height() - 1 - (6 * CycleDetailView::GradeStripHeight);
    const ReportedCycle& cycle = window->Report().Cycles[window->Report().Cycles.size() / 2];
    ASSERT_TRUE(cycle.Scored);
    const int x = static_cast<int>((axis.ToX(cycle.StartSample) + axis.ToX(cycle.EndSample)) / 2);
    for (std::size_t m = 0; m < ScoreModelCount; ++m) {
        const int y = top + static_cast<int>(m) * CycleDetailView::GradeStripHeight + 1;
        EXPECT_EQ(picture.pixelColor(x, y), GradeColor(cycle.Score[m])) << "model " << m;
    }
}

// On a scaled screen (run again with QT_SCALE_FACTOR=2) the pictures and
// the chart have a pixel for every pixel the screen shows, so their text
// stays crisp.
TEST_F(Recording, PicturesHaveTheScreensPixelRatio) {
    RecordingWindow* window = Open(BundledRecording);
    ASSERT_NE(window, nullptr);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    const qreal ratio = qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble();
    for (CachedPicture* view :
         {static_cast<CachedPicture*>(In<RecordingOverview>(window, "RecordingOverview")),
          static_cast<CachedPicture*>(In<CycleDetailView>(window, "CycleDetailView"))}) {
        EXPECT_EQ(view->devicePixelRatioF(), ratio);
        EXPECT_EQ(view->Picture().devicePixelRatio(), ratio);
        EXPECT_EQ(view->Picture().size(), view->size() * ratio);
    }
    auto* chart = form->findChild<TChartControl*>();
    ASSERT_NE(chart, nullptr);
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    chart->repaint();
    EXPECT_EQ(chart->Screen().image.devicePixelRatio(), ratio);
    EXPECT_EQ(chart->Screen().image.size(), chart->size() * ratio);
}

// Every Alt shortcut of the recording window reaches one control: buttons
// and field captions added by different commands must not share a letter.
TEST_F(Recording, EachMnemonicIsUsedOnce) {
    RecordingWindow* window = Open(BundledRecording);
    ASSERT_NE(window, nullptr);
    QStringList texts;
    for (const QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        texts << button->text();
    }
    for (const QLabel* label : window->findChildren<QLabel*>()) {
        if (label->buddy() != nullptr) {
            texts << label->text();
        }
    }
    std::map<QChar, QString> owners;
    for (const QString& text : texts) {
        const qsizetype at = text.indexOf(QRegularExpression(QStringLiteral("&[^&]")));
        if (at >= 0) {
            const QChar key = text.at(at + 1).toLower();
            const auto [owner, added] = owners.emplace(key, text);
            EXPECT_TRUE(added) << text.toStdString() << " and " << owner->second.toStdString();
        }
    }
}

// Every control a screen-reader user can reach by Tab has a name; the
// nameless ones left are the layout's plain containers.
TEST_F(Recording, EveryFocusableAccessibleObjectHasAName) {
    RecordingWindow* window = Open(BundledRecording);
    ASSERT_NE(window, nullptr);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    std::vector<QAccessibleInterface*> pending{QAccessible::queryAccessibleInterface(window)};
    while (!pending.empty()) {
        QAccessibleInterface* object = pending.back();
        pending.pop_back();
        // Table cells (no object of their own) are read with their headers.
        if (object->object() != nullptr && object->text(QAccessible::Name).isEmpty()) {
            EXPECT_FALSE(object->state().focusable)
                << object->object()->metaObject()->className() << " "
                << object->object()->objectName().toStdString();
        }
        for (int i = 0; i < object->childCount(); ++i) {
            pending.push_back(object->child(i));
        }
    }
}

// Escape and Ctrl+W close the recording window, as they close a dialog.
TEST_F(Recording, EscapeAndCtrlWCloseTheWindow) {
    for (const QKeySequence& keys :
         {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
        RecordingWindow* window = Open(BundledRecording);
        ASSERT_NE(window, nullptr);
        const QPointer<RecordingWindow> watched(window);
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        QTest::keySequence(In<CycleDetailView>(window, "CycleDetailView"), keys);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(watched.isNull()) << keys.toString().toStdString();
    }
}

// Moving between cycles marks them over pictures drawn once: no pass over
// the samples, and nothing of the cycle left behind.
TEST_F(Recording, ACycleChangeComposesOverTheCachedWaveforms) {
    RecordingWindow* window = Open(BundledRecording);
    ASSERT_NE(window, nullptr);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    auto* overview = In<RecordingOverview>(window, "RecordingOverview");
    auto* detail = In<CycleDetailView>(window, "CycleDetailView");
    const QImage overviewBefore = overview->Picture();
    const QImage detailBefore = detail->Picture();
    const int overviewLayers = overview->LayerDraws();
    const int detailLayers = detail->LayerDraws();
    for (const Qt::Key key : {Qt::Key_Right, Qt::Key_Right, Qt::Key_End}) {
        QTest::keyClick(detail, key);
        EXPECT_NE(overview->Picture(), overviewBefore);
        EXPECT_NE(detail->Picture(), detailBefore);
    }
    window->SelectCycle(FirstSelectedCycle(window->Report()));
    EXPECT_EQ(overview->Picture(), overviewBefore);
    EXPECT_EQ(detail->Picture(), detailBefore);
    EXPECT_EQ(overview->LayerDraws(), overviewLayers);
    EXPECT_EQ(detail->LayerDraws(), detailLayers);
}

TEST_F(Recording, SpinBoxAndClickChooseACycle) {
    RecordingWindow* window = Open(BundledRecording);
    window->show();
    In<QSpinBox>(window, "CycleNumber")->setValue(5);
    EXPECT_EQ(window->SelectedCycle(), 4u);

    auto* detail = In<CycleDetailView>(window, "CycleDetailView");
    const ReportedCycle& target = window->Report().Cycles[10];
    const double middle = detail->Axis().ToX((target.StartSample + target.EndSample) / 2);
    QTest::mouseClick(detail, Qt::LeftButton, {}, QPoint(static_cast<int>(middle), 20));
    EXPECT_EQ(window->SelectedCycle(), 10u);
}

TEST_F(Recording, AnalyseLoadsTheCycleAsALoadLoadsAPeriodFile) {
    RecordingWindow* window = Open(BundledRecording);
    window->SelectCycle(20);
    const std::vector<std::int16_t>& period = window->Report().Cycles[20].Period;
    auto* analyse = In<QPushButton>(window, "AnalyseButton");
    EXPECT_EQ(analyse->accessibleName(), "Analyse in main window");
    analyse->click();
    EXPECT_FALSE(state->FileLoaded) << "the load runs after the press has returned";
    QApplication::processEvents();
    QApplication::processEvents();
    ASSERT_TRUE(state->FileLoaded);
    EXPECT_EQ(state->FileName, BundledRecording.toStdString());
    ASSERT_EQ(state->SampleCount, static_cast<std::int32_t>(period.size()));
    for (std::size_t i = 0; i < period.size(); ++i) {
        ASSERT_EQ(state->Samples[i], period[i]) << i;
    }
    EXPECT_EQ(Field("Edit1"), "sustained_a_male.wav");
    EXPECT_EQ(Field("Edit4"), QString::number(period.size()));
    EXPECT_TRUE(shown.warnings.empty());
    // The grade comes from the recording's name, which has none.
    form->SpeedButton3Click();
    EXPECT_EQ(shown.errors, std::vector<QString>{"'e' is not a valid integer value."});
}

// Loading the cycle in memory and loading it saved as a file must give the
// same window, field by field.
TEST_F(Recording, ACycleAnalysedOrSavedAndLoadedGivesTheSameScores) {
    const std::string graded = (folder.Path() / "sustained4.wav").string();
    std::filesystem::copy_file(BundledRecording.toStdString(), graded);
    RecordingWindow* window = Open(QString::fromStdString(graded));
    const std::size_t cycle = window->SelectedCycle();
    const QString saved = QString::fromStdString((folder.Path() / "saved4.wav").string());
    dialogs->Choose(saved);
    window->SaveSelectedCycle();
    ASSERT_EQ(shown.fileDialogs.size(), 1u);
    EXPECT_EQ(
        shown.fileDialogs[0],
        std::make_pair(QString("save"),
                       QString::fromStdString(
                           (folder.Path() / CyclePeriodFileName(graded, cycle + 1)).string())));
    ASSERT_TRUE(IsVoicePeriodFile(saved.toStdString()));
    EXPECT_EQ(In<QLabel>(window, "StatusLine")->text(),
              QString("Cycle %1 saved as %2.").arg(cycle + 1).arg(saved));
    EXPECT_EQ(In<QTableWidget>(window, "MeasureTable")->item(0, 1)->text(),
              "4 (from the file name)");

    window->AnalyseSelectedCycle();
    QApplication::processEvents();
    form->SpeedButton3Click();
    const QString fromMemory = MemoText("Memo4");
    const QString table = MemoText("Memo1");
    EXPECT_TRUE(fromMemory.startsWith(" expert ORL\t =  4\r\n"));
    Load(saved.toStdString());
    form->SpeedButton3Click();
    EXPECT_EQ(MemoText("Memo4"), fromMemory);
    EXPECT_EQ(MemoText("Memo1"), table);
    EXPECT_TRUE(shown.errors.empty());
}

TEST_F(Recording, SavingWhereNoFileCanBeWrittenShowsWhy) {
    RecordingWindow* window = Open(BundledRecording);
    const QString target = QString::fromStdString((folder.Path() / "no/such/p1.wav").string());
    dialogs->Choose(target);
    window->SaveSelectedCycle();
    EXPECT_EQ(shown.errors,
              std::vector<QString>{"cannot write " + target + ": the folder " +
                                   QString::fromStdString((folder.Path() / "no/such").string()) +
                                   " does not exist."});
}

// The file dialog asks whether to replace an existing file, and the user
// may say yes to the recording itself: a hard link or a second spelling of
// its name reaches it too.
TEST_F(Recording, SavingOverTheOpenRecordingIsRefused) {
    const std::string recording = (folder.Path() / "anna_3.wav").string();
    std::filesystem::copy_file(BundledRecording.toStdString(), recording);
    const std::string link = (folder.Path() / "linked_3.wav").string();
    std::filesystem::create_hard_link(recording, link);
    RecordingWindow* window = Open(QString::fromStdString(recording));
    ASSERT_NE(window, nullptr);
    const auto size = std::filesystem::file_size(recording);
    const QString spellings[] = {
        QString::fromStdString(recording), QString::fromStdString(link),
        QString::fromStdString((folder.Path() / "." / "anna_3.wav").string())};
    for (const QString& target : spellings) {
        dialogs->Choose(target);
        window->SaveSelectedCycle();
        ASSERT_FALSE(shown.errors.empty());
        EXPECT_EQ(shown.errors.back(),
                  target +
                      ": is the recording this window shows, which the period would "
                      "overwrite; nothing was written.");
    }
    // The report, a file of another kind, is refused there too.
    dialogs->Choose(spellings[1]);
    window->SaveReportPdf();
    EXPECT_EQ(shown.errors.back(), spellings[1] +
                                       ": is the recording this window shows, which the report "
                                       "would overwrite; nothing was written.");
    EXPECT_EQ(shown.errors.size(), 4u);
    EXPECT_EQ(std::filesystem::file_size(recording), size);
}

TEST_F(Recording, ACancelledSaveWritesNothing) {
    RecordingWindow* window = Open(BundledRecording);
    window->SaveSelectedCycle();
    EXPECT_EQ(shown.fileDialogs.size(), 1u);
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
}

// The page as poppler reads it, one space between words.
std::string PdfText(const std::string& pdf, const test::TempFolder& folder) {
    const test::ProcessRun run = test::RunCommand("pdftotext -raw '" + pdf + "' -", folder);
    EXPECT_EQ(run.exitStatus, 0) << run.output;
    return QString::fromStdString(run.output).simplified().toStdString();
}

TEST_F(Recording, SavesTheReportAsAPdfWithThePatientsDetails) {
    RecordingWindow* window = Open(BundledRecording);
    ASSERT_NE(window, nullptr);
    In<QLineEdit>(window, "PatientId")->setText("P-0042");
    In<QLineEdit>(window, "PatientBorn")->setText("1970-05-31");
    In<QLineEdit>(window, "AssessmentDate")->setText("2026-12-08");
    const std::string pdf = (folder.Path() / "page.pdf").string();
    dialogs->Choose(QString::fromStdString(pdf));
    window->SaveReportPdf();
    ASSERT_EQ(shown.fileDialogs.size(), 1u);
    EXPECT_EQ(shown.fileDialogs[0],
              std::make_pair(QString("report"),
                             QStringLiteral(TESMERA_SOURCE_DIR "/samples/recordings/"
                                                               "sustained_a_male.pdf")));
    const std::string text = PdfText(pdf, folder);
    const std::string f0 = QString::number(window->Report().F0MeanHz, 'f', 2).toStdString();
    for (const std::string& expected :
         {std::string("Patient ID P-0042"), std::string("Date of birth 1970-05-31"),
          std::string("Assessment date 2026-12-08"), std::string("sustained_a_male.wav"),
          "F0 mean " + f0 + " Hz"}) {
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
    }
    EXPECT_EQ(In<QLabel>(window, "StatusLine")->text(),
              "Report saved as " + QString::fromStdString(pdf) + ".");
}

TEST_F(Recording, CtrlPPrintsTheReportThroughThePrintDialog) {
    RecordingWindow* window = Open(BundledRecording);
    ASSERT_NE(window, nullptr);
    In<QLineEdit>(window, "PatientId")->setText("P-0043");
    const std::string printed = (folder.Path() / "printed.pdf").string();
    dialogs->Choose(QString::fromStdString(printed));
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window, Qt::Key_P, Qt::ControlModifier);
    ASSERT_EQ(shown.fileDialogs.size(), 1u);
    EXPECT_EQ(shown.fileDialogs[0].first, "print");
    EXPECT_NE(PdfText(printed, folder).find("P-0043"), std::string::npos);
}

TEST_F(Recording, ACancelledPrintOrReportWritesNothing) {
    RecordingWindow* window = Open(BundledRecording);
    window->PrintReport();
    window->SaveReportPdf();
    EXPECT_EQ(shown.fileDialogs.size(), 2u);
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
}

TEST_F(Recording, RoughVoiceOpensWithItsCyclesAndAHigherJitter) {
    RecordingWindow* rough = Open(
        QString::fromStdString(testing::AddVowel(folder, "rough5.wav", testing::RoughVoice())));
    ASSERT_NE(rough, nullptr);
    ASSERT_TRUE(rough->Report().Jitter.Local.has_value());
    EXPECT_GT(*rough->Report().Jitter.Local, 0.01);
    // Its jitter lies beyond MDVP's 1.04 %, and the window says so.
    const QTableWidgetItem* jitter = In<QTableWidget>(rough, "MeasureTable")->item(5, 1);
    EXPECT_TRUE(jitter->text().endsWith(", outside its norm")) << jitter->text().toStdString();
    EXPECT_TRUE(jitter->font().bold());
}

TEST_F(Recording, OpenRecordingAsksForOneAndOpensIt) {
    dialogs->Choose(BundledRecording);
    form->SpeedButton4Click();
    ASSERT_TRUE(testing::AwaitRecording(*form));
    ASSERT_EQ(shown.fileDialogs.size(), 1u);
    EXPECT_EQ(shown.fileDialogs[0].first, "recording");
    EXPECT_EQ(form->findChildren<RecordingWindow*>().size(), 1);
    EXPECT_FALSE(state->FileLoaded);
}

}  // namespace
}  // namespace tesmera
