// SPDX-License-Identifier: GPL-3.0-or-later
#include <cmath>
#include <filesystem>
#include <fstream>
#include <numbers>

#include <QTest>

#include "app/TImage.h"
#include "app/WindowFixture.h"
#include "chart/TChartControl.h"
#include "support/degenerate_periods.h"
#include "support/param_name.h"
#include "support/wav_test_support.h"

namespace tesmera {
namespace {

using test::CanonicalWav;

constexpr char RefusalMessage[] =
    " Soubor *.WAV neni v pameti  \r\n Delka zaznamu je vetsi nez 10000 vzorku ";

// A voice file with a chosen name in its own temporary folder.
class NamedVoiceFile {
  public:
    NamedVoiceFile(const std::string& name, const std::vector<std::int16_t>& samples)
        : folder_(std::filesystem::temp_directory_path() /
                  ("tesmera_compute_" + std::to_string(reinterpret_cast<std::uintptr_t>(this)))) {
        std::filesystem::create_directories(folder_);
        const test::Bytes bytes = CanonicalWav(samples);
        std::ofstream(Path(name), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        path_ = Path(name);
    }
    ~NamedVoiceFile() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    const std::string& Path() const { return path_; }

  private:
    std::string Path(const std::string& name) const { return (folder_ / name).string(); }
    std::filesystem::path folder_;
    std::string path_;
};

// A period with harmonic amplitudes 4, 2, 2, 1, 1, 1 (times `scale`).
std::vector<std::int16_t> SixHarmonics(int count, double scale) {
    static constexpr double amplitudes[] = {4, 2, 2, 1, 1, 1};
    std::vector<std::int16_t> samples(count);
    for (int i = 0; i < count; ++i) {
        double value = 0;
        for (int k = 1; k <= 6; ++k) {
            value +=
                scale * amplitudes[k - 1] * std::sin(2 * std::numbers::pi * k * (i + 1) / count);
        }
        samples[i] = static_cast<std::int16_t>(std::lround(value));
    }
    return samples;
}

class ComputeCommand : public testing::WindowFixture {
  protected:
    void LoadAndCompute(const std::string& path) {
        Load(path);
        form->SpeedButton3Click();
    }
    QStringList MemoLines(const char* name) const {
        return MemoText(name).split(QStringLiteral("\r\n"));
    }
};

TEST_F(ComputeCommand, WritesHeaderReportAndTable) {
    const NamedVoiceFile file("Patient3.WAV", SixHarmonics(441, 1000));
    LoadAndCompute(file.Path());
    EXPECT_TRUE(shown.warnings.empty());
    EXPECT_TRUE(shown.errors.empty());
    EXPECT_EQ(Field("Edit1"), "patient3.wav");
    EXPECT_EQ(MemoText("Memo3"), " i\tax[i]\tbx[i]\tAA[i]");

    const QStringList report = MemoLines("Memo4");
    ASSERT_EQ(report.size(), 9);  // eight lines, each ending in "\r\n"
    EXPECT_EQ(report[0], " expert ORL\t =  3");
    EXPECT_EQ(report[1], " " + QString(59, '-'));
    EXPECT_EQ(report[2], " SCORE(10) \t =  1\t1.3871");
    EXPECT_EQ(report[3], " SCORE(21) \t =  2\t1.5914");
    EXPECT_EQ(report[8], "");

    const QStringList table = MemoLines("Memo1");
    ASSERT_EQ(table.size(), 17);
    EXPECT_EQ(table[1], " 1\t0.0\t4000.0\t4000.0");
    EXPECT_EQ(table[6], " 6\t0.0\t1000.0\t1000.0");
    EXPECT_EQ(table[15], " 15\t0.0\t0.0\t0.0");
}

TEST_F(ComputeCommand, FillsTheStateAndTheChart) {
    const NamedVoiceFile file("voice2.wav", SixHarmonics(441, 1000));
    LoadAndCompute(file.Path());
    EXPECT_EQ(state->ExpertGrade, 2);
    EXPECT_NEAR(state->AA[1], 4000, 0.01);  // samples are rounded to integers
    EXPECT_NEAR(state->AmplitudeNorm, 1000 * std::sqrt(27.0), 0.01);
    const std::array<std::int32_t, 6> scores = {1, 2, 1, 2, 2, 2};
    EXPECT_EQ(state->Score, scores);
    EXPECT_EQ(Field("Edit5"), "7464.0");  // the load's "7464", now with one decimal

    const TChartSeries& bars = Find<TChartControl>("Chart1")->Chart().Series(0);
    ASSERT_EQ(bars.NumPoints(), 20);
    for (int i = 0; i < 20; ++i) {
        EXPECT_DOUBLE_EQ(bars.PointY(i), state->AA[i + 1]);
    }
}

TEST_F(ComputeCommand, DrawsTheApproximationUnderThePeriod) {
    const NamedVoiceFile file("voice2.wav", SixHarmonics(441, 1000));
    LoadAndCompute(file.Path());
    const QImage& strip = Find<TImage>("Image1")->Picture();
    int red = 0;
    int blue = 0;
    for (int y = 0; y < strip.height(); ++y) {
        for (int x = 0; x < strip.width(); ++x) {
            red += strip.pixel(x, y) == qRgb(255, 0, 0);
            blue += strip.pixel(x, y) == qRgb(0, 0, 255);
        }
    }
    EXPECT_GT(blue, 300);
    // The approximation lies almost exactly under the period; where the two
    // differ by a pixel the red trace shows.
    EXPECT_GT(red, 0);
}

TEST_F(ComputeCommand, TwiceGivesIdenticalMemos) {
    const NamedVoiceFile file("voice2.wav", SixHarmonics(300, 700));
    LoadAndCompute(file.Path());
    const QString report = MemoText("Memo4");
    const QString table = MemoText("Memo1");
    form->SpeedButton3Click();
    EXPECT_EQ(MemoText("Memo4"), report);
    EXPECT_EQ(MemoText("Memo1"), table);
    EXPECT_EQ(MemoText("Memo3"), " i\tax[i]\tbx[i]\tAA[i]");
}

TEST_F(ComputeCommand, RefusedAfterARejectedLoad) {
    test::TempFile stereo(test::PokeLE(CanonicalWav({1, 2, 3, 4}), 22, 2, 2));
    Load(stereo.Path());
    form->SpeedButton3Click();
    ASSERT_EQ(shown.warnings.size(), 2u);
    EXPECT_EQ(shown.warnings[1], RefusalMessage);
    EXPECT_TRUE(MemoText("Memo4").isEmpty());
}

TEST_F(ComputeCommand, RefusesMoreThanTenThousandSamples) {
    const NamedVoiceFile file("long1.wav", std::vector<std::int16_t>(MaxSamples + 1, 5));
    LoadAndCompute(file.Path());
    ASSERT_EQ(shown.warnings.size(), 1u);
    EXPECT_EQ(shown.warnings[0], RefusalMessage);
    EXPECT_TRUE(Field("Edit1").isEmpty());
}

// Eleven samples allow only the first harmonic: harmonics 2 to 6 are zero,
// so the coefficient warning comes and the report carries zero scores.
TEST_F(ComputeCommand, ElevenSamplesGiveTheCoefficientWarning) {
    const NamedVoiceFile file("short4.wav",
                              {0, 500, 900, 1000, 800, 400, -100, -600, -900, -1000, -700});
    LoadAndCompute(file.Path());
    ASSERT_EQ(shown.warnings.size(), 1u);
    EXPECT_EQ(shown.warnings[0], " !!!  koeficient AA[i] = 0  !!! ");
    const QStringList report = MemoLines("Memo4");
    EXPECT_EQ(report[0], " expert ORL\t =  4");
    EXPECT_EQ(report[2], " SCORE(10) \t =  0\t0.0000");
    EXPECT_EQ(MemoLines("Memo1").size(), 17);
    EXPECT_EQ(state->ApproxOrder, 1);
}

TEST_F(ComputeCommand, NameWithoutGradeEndsWithAConversionError) {
    const NamedVoiceFile file("ab.wav", SixHarmonics(200, 500));
    LoadAndCompute(file.Path());
    ASSERT_EQ(shown.errors.size(), 1u);
    EXPECT_EQ(shown.errors[0], "'b' is not a valid integer value.");
    // Done up to the grade: the amplitudes; not done: the reports and bars.
    EXPECT_GT(state->AA[1], 0);
    EXPECT_TRUE(MemoText("Memo4").isEmpty());
    EXPECT_TRUE(MemoText("Memo1").isEmpty());
    const TChartSeries& bars = Find<TChartControl>("Chart1")->Chart().Series(0);
    EXPECT_EQ(bars.PointY(0), 0.0);
}

// A silent recording is valid: the traces lie flat and the norm warning
// explains the zero scores.
TEST_F(ComputeCommand, SilentRecordingGivesTheNormWarning) {
    const NamedVoiceFile file("silence1.wav", std::vector<std::int16_t>(100, 0));
    LoadAndCompute(file.Path());
    EXPECT_TRUE(shown.errors.empty());
    ASSERT_EQ(shown.warnings.size(), 1u);
    EXPECT_EQ(shown.warnings[0], " !!!  norma = 0  !!! ");
    EXPECT_EQ(MemoLines("Memo4")[0], " expert ORL\t =  1");
}

class DegeneratePeriodCompute : public ComputeCommand,
                                public ::testing::WithParamInterface<test::DegeneratePeriod> {};

// Rounding noise of the series is not scored: the window warns as exact
// arithmetic would and reports zero scores.
TEST_P(DegeneratePeriodCompute, WarnsAndReportsZeroScores) {
    const NamedVoiceFile file("period2.wav", GetParam().samples);
    LoadAndCompute(file.Path());
    EXPECT_TRUE(shown.errors.empty());
    ASSERT_EQ(shown.warnings.size(), 1u);
    EXPECT_EQ(shown.warnings[0].toStdString(), GetParam().warning);
    const QStringList report = MemoLines("Memo4");
    EXPECT_EQ(report[2], " SCORE(10) \t =  0\t0.0000");
    EXPECT_EQ(report[7], " SCORE(25) \t =  0\t0.0000");
}

INSTANTIATE_TEST_SUITE_P(Periods, DegeneratePeriodCompute,
                         ::testing::ValuesIn(test::DegeneratePeriods()), test::CaseName());

// A zoom belongs to the user's view: a new compute refills the bars inside
// it, and a new load brings back 20 flat bars without undoing it.
TEST_F(ComputeCommand, RefillsKeepAZoomedView) {
    const NamedVoiceFile file("voice2.wav", SixHarmonics(441, 1000));
    LoadAndCompute(file.Path());
    form->show();
    QCoreApplication::processEvents();
    TChart& chart = Find<TChartControl>("Chart1")->Chart();
    const double automaticMaximum = chart.LeftAxis().Maximum();

    // Down and to the right inside the plot area, at window pixels.
    QTest::mousePress(form->windowHandle(), Qt::LeftButton, {}, QPoint(208 + 100, 140 + 40));
    QTest::mouseMove(form->windowHandle(), QPoint(208 + 200, 140 + 100));
    QTest::mouseRelease(form->windowHandle(), Qt::LeftButton, {}, QPoint(208 + 200, 140 + 100));
    QCoreApplication::processEvents();
    const double zoomedMinimum = chart.LeftAxis().Minimum();
    const double zoomedMaximum = chart.LeftAxis().Maximum();
    ASSERT_LT(zoomedMaximum, automaticMaximum);

    form->SpeedButton3Click();
    QCoreApplication::processEvents();
    EXPECT_EQ(chart.LeftAxis().Minimum(), zoomedMinimum);
    EXPECT_EQ(chart.LeftAxis().Maximum(), zoomedMaximum);
    EXPECT_DOUBLE_EQ(chart.Series(0).PointY(0), state->AA[1]);

    form->SpeedButton1Click();  // the dialog is cancelled
    QCoreApplication::processEvents();
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(chart.Series(0).PointY(i), 0.0) << i;
    }
    EXPECT_EQ(chart.LeftAxis().Maximum(), zoomedMaximum);
}

}  // namespace
}  // namespace tesmera
