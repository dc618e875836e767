// SPDX-License-Identifier: GPL-3.0-or-later
#include <cmath>
#include <numbers>

#include <QLocale>

#include "app/WindowFixture.h"
#include "support/fifo_watchdog.h"
#include "support/param_name.h"
#include "support/wav_test_support.h"

namespace tesmera {
namespace {

using test::CanonicalWav;
using test::TempFile;

class LoadCommand : public testing::WindowFixture {};

std::vector<std::int16_t> SinePeriod(int count, double peak) {
    std::vector<std::int16_t> samples(count);
    for (int i = 0; i < count; ++i) {
        samples[i] = static_cast<std::int16_t>(
            std::lround(peak * std::sin(2 * std::numbers::pi * i / count)));
    }
    return samples;
}

TEST_F(LoadCommand, PeriodOf441SamplesShowsItsFrequencyAndLength) {
    const TempFile file(CanonicalWav(SinePeriod(441, 10000)));
    Load(file.Path());
    EXPECT_TRUE(shown.warnings.empty());
    EXPECT_TRUE(shown.errors.empty());
    EXPECT_TRUE(state->FileLoaded);
    EXPECT_EQ(state->SampleCount, 441);
    EXPECT_EQ(Field("Edit4"), "441");
    EXPECT_EQ(Field("Edit5"), "10000");
    EXPECT_EQ(Field("Edit14"), "100.00");
    EXPECT_EQ(Field("Edit15"), "10.0000");
    EXPECT_EQ(Field("Edit1"),
              QString::fromStdString(std::filesystem::path(file.Path()).filename().string()));
}

TEST_F(LoadCommand, FillsTheStatisticsFields) {
    const TempFile file(CanonicalWav({1000, -1000, 1000, -1000}));
    Load(file.Path());
    EXPECT_EQ(Field("Edit2"), "0.00");
    EXPECT_EQ(Field("Edit3"), "1000.00");
    EXPECT_EQ(Field("Edit4"), "4");
    EXPECT_EQ(Field("Edit5"), "1000");
    for (const char* untouched : {"Edit16", "Edit17", "Edit18", "Edit19"}) {
        EXPECT_TRUE(Field(untouched).isEmpty()) << untouched;
    }
}

TEST_F(LoadCommand, UsesTheRegionalDecimalSeparator) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const TempFile file(CanonicalWav(SinePeriod(441, 10000)));
    Load(file.Path());
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(Field("Edit14"), "100,00");
    EXPECT_EQ(Field("Edit15"), "10,0000");
}

TEST_F(LoadCommand, ShowsTheLowerCaseFileName) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "tesmera_Load_Test";
    std::filesystem::create_directories(folder);
    const std::string path = (folder / "Abc1.WAV").string();
    test::TempFile placeholder;  // keeps the byte builders' file helpers in one place
    {
        std::ofstream out(path, std::ios::binary);
        const test::Bytes bytes = CanonicalWav({5, -5, 5, -5});
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }
    Load(path);
    std::filesystem::remove_all(folder);
    EXPECT_EQ(Field("Edit1"), "abc1.wav");
}

TEST_F(LoadCommand, RateNoticeThenLoadsAtTheNominalRate) {
    const TempFile file(CanonicalWav(SinePeriod(441, 10000), 22050));
    Load(file.Path());
    ASSERT_EQ(shown.warnings.size(), 1u);
    EXPECT_EQ(shown.warnings[0], " Data byla vzorkovana rychlosti = 22050");
    EXPECT_EQ(Field("Edit14"), "100.00");
}

TEST_F(LoadCommand, RejectedHeaderLeavesTheWindowEmpty) {
    TempFile good(CanonicalWav({1, 2, 3, 4}));
    Load(good.Path());
    ASSERT_TRUE(state->FileLoaded);
    const TempFile stereo(test::PokeLE(CanonicalWav({1, 2, 3, 4}), 22, 2, 2));
    Load(stereo.Path());
    ASSERT_EQ(shown.warnings.size(), 1u);
    EXPECT_EQ(shown.warnings[0], " Data v souboru WAVE nejsou MONO ");
    EXPECT_FALSE(state->FileLoaded);
    EXPECT_EQ(state->FileName, stereo.Path());
    EXPECT_TRUE(Field("Edit4").isEmpty());
    EXPECT_TRUE(Field("Edit1").isEmpty());
}

TEST_F(LoadCommand, MissingFileEndsInTheErrorBox) {
    Load("/nonexistent/folder/voice1.wav");
    ASSERT_EQ(shown.errors.size(), 1u);
    EXPECT_EQ(shown.errors[0], "File not found.");
    EXPECT_FALSE(state->FileLoaded);
}

struct CursorCase : test::NamedCase<CursorCase> {
    test::Bytes bytes;  // empty: a file that does not exist
    std::optional<Qt::CursorShape> atMessage;
};

class CursorDuringLoad : public LoadCommand, public ::testing::WithParamInterface<CursorCase> {};

// The load works under the busy cursor, the error box after it comes with
// the normal one, and nothing is left overridden whichever way the load ends.
TEST_P(CursorDuringLoad, IsBusyOnlyWhileWorking) {
    const TempFile file(GetParam().bytes);
    Load(GetParam().bytes.empty() ? "/nonexistent/folder/voice1.wav" : file.Path());
    ASSERT_EQ(shown.cursors.size(), 1u);
    EXPECT_EQ(shown.cursors[0], GetParam().atMessage);
    EXPECT_EQ(testing::CurrentOverrideCursor(), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(Loads, CursorDuringLoad,
                         ::testing::Values(CursorCase{"RateNoticeWhileLoading",
                                                      CanonicalWav({1, 2, 3}, 22050),
                                                      Qt::WaitCursor},
                                           CursorCase{"ErrorBoxAfterTheLoad", {}, std::nullopt}),
                         test::CaseName());

// A FIFO named like a voice file would block the window forever on open.
TEST_F(LoadCommand, FifoEndsInTheErrorBoxWithoutBlocking) {
    const test::FifoFile fifo("voice1.wav");
    ASSERT_TRUE(fifo.Made());
    EXPECT_FALSE(test::BlockedOnFifo(fifo, [&] { Load(fifo.Path()); }));
    ASSERT_EQ(shown.errors.size(), 1u);
    EXPECT_EQ(shown.errors[0], "File access denied.");
    EXPECT_FALSE(state->FileLoaded);
}

TEST_F(LoadCommand, FileEndingInsideASampleEndsInTheErrorBox) {
    test::Bytes bytes = CanonicalWav({7, 7, 7});
    bytes.pop_back();
    const TempFile file(bytes);
    Load(file.Path());
    ASSERT_EQ(shown.errors.size(), 1u);
    EXPECT_EQ(shown.errors[0], "Read beyond end of file.");
    EXPECT_FALSE(state->FileLoaded);
}

// A silent period is valid input: every field is filled and the strip shows
// the flat trace instead of an error.
TEST_F(LoadCommand, SilentPeriodLoads) {
    const TempFile file(CanonicalWav(std::vector<std::int16_t>(200, 0)));
    Load(file.Path());
    EXPECT_TRUE(shown.errors.empty());
    EXPECT_EQ(Field("Edit3"), "0.00");
    EXPECT_EQ(Field("Edit5"), "0");
    EXPECT_EQ(Field("Edit14"), "220.50");
}

TEST_F(LoadCommand, CancelAfterALoadDiscardsIt) {
    const TempFile file(CanonicalWav({1000, -1000, 1000, -1000}));
    Load(file.Path());
    ASSERT_TRUE(state->FileLoaded);
    dialogs->Choose(std::nullopt);
    form->SpeedButton1Click();
    EXPECT_FALSE(state->FileLoaded);
    EXPECT_TRUE(Field("Edit2").isEmpty());
    EXPECT_EQ(state->Samples[0], 0.0);
}

TEST_F(LoadCommand, LongRecordingIsCountedButOnlyItsBufferIsStored) {
    std::vector<std::int16_t> samples(MaxSamples + 500, 3);
    samples.back() = -9;
    const TempFile file(CanonicalWav(samples));
    Load(file.Path());
    EXPECT_TRUE(shown.errors.empty());
    EXPECT_EQ(state->SampleCount, MaxSamples + 500);
    EXPECT_EQ(Field("Edit4"), "10500");
    EXPECT_EQ(Field("Edit5"), "9");
    form->SpeedButton3Click();
    ASSERT_EQ(shown.warnings.size(), 1u);
    EXPECT_TRUE(shown.warnings[0].startsWith(" Soubor *.WAV neni v pameti"));
}

}  // namespace
}  // namespace tesmera
