// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/render/window_picture.h"

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include "app/ScriptedDialogs.h"
#include "app/TForm1.h"
#include "cli/cli_process_support.h"
#include "support/param_name.h"

namespace tesmera {
namespace {

const std::string SampleFile = TESMERA_SOURCE_DIR "/samples/vowel_a_male1.wav";

QImage Rgb(const QImage& image) {
    return image.convertToFormat(QImage::Format_RGB32);
}

// The same file through the window itself, as its tests drive it.
class WindowGrab : public ::testing::Test {
  protected:
    WindowGrab() {
        auto scripted = std::make_unique<testing::ScriptedDialogs>(shown);
        scripted->Choose(QString::fromStdString(SampleFile));
        form = std::make_unique<TForm1>(*state, std::move(scripted));
        form->show();
        form->SpeedButton1Click();
        form->SpeedButton3Click();
    }

    QWidget* Control(const char* name) const {
        return form->findChild<QWidget*>(QLatin1String(name));
    }

    std::unique_ptr<AnalysisState> state = std::make_unique<AnalysisState>();
    testing::ShownMessages shown;
    std::unique_ptr<TForm1> form;
};

TEST_F(WindowGrab, RenderHoldsTheGrabsOfOscilloscopeAndChart) {
    const WindowPicture picture = RenderWindowPicture(SampleFile);
    EXPECT_TRUE(picture.Messages.empty());

    QWidget* oscilloscope = Control("Image1");
    QWidget* chart = Control("Chart1");
    const QRect area = oscilloscope->geometry().united(chart->geometry());
    ASSERT_EQ(picture.Image.size(), area.size());
    const QImage image = Rgb(picture.Image);
    for (QWidget* control : {oscilloscope, chart}) {
        const QRect place = control->geometry().translated(-area.topLeft());
        EXPECT_EQ(image.copy(place), Rgb(control->grab().toImage()))
            << control->objectName().toStdString();
    }
}

TEST(RenderWindowPicture, CollectsWhatTheWindowShows) {
    const WindowPicture picture = RenderWindowPicture("/nonexistent/voice1.wav");
    EXPECT_EQ(picture.Messages, std::vector<std::string>({"File not found.",
                                                          " Soubor *.WAV neni v pameti  \r\n Delka "
                                                          "zaznamu je vetsi nez 10000 vzorku "}));
    EXPECT_FALSE(picture.Image.isNull());
}

TEST(TesmeraCliRender, WritesThePng) {
    const std::filesystem::path png = std::filesystem::temp_directory_path() /
                                      ("tesmera_render_" + std::to_string(getpid()) + ".png");
    const std::string command = TESMERA_BINARY_DIR "/cli/tesmera-cli render " + SampleFile +
                                " --png " + png.string() + " 2>/dev/null";
    const int status = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    const QImage written(QString::fromStdString(png.string()));
    EXPECT_EQ(written.size(), RenderWindowPicture(SampleFile).Image.size());
    std::filesystem::remove(png);
}

// `tesmera-cli render` as a user runs it, in a folder holding a copy of a
// sample named "-x4.wav".
struct RenderRunCase : test::NamedCase<RenderRunCase> {
    std::string arguments;  // run in the folder; the picture is out.png
    int exitStatus;
    bool pictureWritten;
};

class RenderRuns : public ::testing::TestWithParam<RenderRunCase> {};

TEST_P(RenderRuns, WriteAPictureOnlyOfALoadedFile) {
    const RenderRunCase& c = GetParam();
    const test::TempFolder folder;
    std::filesystem::copy_file(SampleFile, folder.Path() / "-x4.wav");
    const std::string sample = test::ReadWhole(folder.Path() / "-x4.wav");
    const test::ProcessRun run = test::RunProgram(
        c.arguments, folder, "cd " + test::ShellWord(folder.Path().string()) + " && ");
    EXPECT_EQ(run.exitStatus, c.exitStatus) << run.output;
    EXPECT_EQ(std::filesystem::exists(folder.Path() / "out.png"), c.pictureWritten);
    if (c.pictureWritten) {
        EXPECT_EQ(QImage(QString::fromStdString((folder.Path() / "out.png").string())).size(),
                  RenderWindowPicture(SampleFile).Image.size());
    }
    EXPECT_EQ(test::ReadWhole(folder.Path() / "-x4.wav"), sample);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, RenderRuns,
    ::testing::Values(
        RenderRunCase{"DashNamedFileAfterDoubleDash", "render --png out.png -- -x4.wav", 0, true},
        RenderRunCase{"DashNamedFileWithItsFolder", "render ./-x4.wav --png out.png", 0, true},
        RenderRunCase{"MissingFile", "render gone1.wav --png out.png", 1, false},
        RenderRunCase{"HelpAfterDoubleDashIsAFileName", "render --png out.png -- --help", 1, false},
        RenderRunCase{"NotAVoiceFile", "render console.txt --png out.png", 1, false},
        RenderRunCase{"FullDevice", "render ./-x4.wav --png /dev/full", 2, false},
        RenderRunCase{"PictureOverTheVoiceFile", "render ./-x4.wav --png ./-x4.wav", 64, false},
        RenderRunCase{"PictureToStandardOutput", "render ./-x4.wav --png -", 64, false}),
    test::CaseName());

TEST(RenderWindowPicture, LoadsANameThatIsNotUtf8) {
    const test::TempFolder folder;
    const std::filesystem::path file = folder.Path() / "caf\xE9_3.wav";
    std::filesystem::copy_file(SampleFile, file);
    const WindowPicture picture = RenderWindowPicture(file.string());
    EXPECT_TRUE(picture.Loaded);
    EXPECT_TRUE(picture.Messages.empty());
}

TEST(TesmeraRender, AnOldPictureStaysWhenTheNewOneCannotBeMade) {
    const test::TempFolder folder;
    const std::string old = "old picture";
    const std::string png = folder.Add("out.png", test::Bytes(old.begin(), old.end()));
    const test::ProcessRun run = test::RunProgram("render gone1.wav --png " + png, folder);
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(test::ReadWhole(png), old);
}

}  // namespace
}  // namespace tesmera
