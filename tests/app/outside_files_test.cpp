// SPDX-License-Identifier: GPL-3.0-or-later
// Files handed to the window from outside: the command line and drops. A
// file the load takes as one period is loaded by it; any other opens as a
// recording; several files or an unreadable one get a message.
#include <filesystem>
#include <functional>
#include <string>

#include <QApplication>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QUrl>

#include <gtest/gtest.h>

#include "app/RecordingWindow.h"
#include "app/WindowFixture.h"
#include "app/recording_files.h"
#include "support/param_name.h"

namespace tesmera {
namespace {

using testing::WindowFixture;

enum class Outcome { Loaded, RecordingOpened, Message };

struct OutsideCase : test::NamedCase<OutsideCase> {
    std::function<QStringList(const test::TempFolder&)> files;
    Outcome outcome;
    const char* field;    // Edit1 afterwards, for a load
    const char* message;  // the warning or error shown, with {folder} for the folder
    bool warning = false;
};

QString Path(const std::string& path) {
    return QString::fromStdString(path);
}

const OutsideCase OutsideCases[] = {
    {"OnePeriod",
     [](const auto& f) {
         return QStringList{Path(testing::AddSamples(f, "Voice3.wav", testing::Period(441)))};
     },
     Outcome::Loaded, "voice3.wav", ""},
    {"LongestPeriod",
     [](const auto& f) {
         return QStringList{Path(testing::AddSamples(f, "long2.wav", testing::Period(10000)))};
     },
     Outcome::Loaded, "long2.wav", ""},
    {"PeriodAt48kHzWithItsRateNotice",
     [](const auto& f) {
         return QStringList{Path(testing::AddSamples(f, "rate1.wav", testing::Period(400), 48000))};
     },
     Outcome::Loaded, "rate1.wav", "*", true},
    {"OneSampleMoreIsARecording",
     [](const auto& f) {
         return QStringList{Path(testing::AddSamples(f, "noise2.wav", testing::WhiteNoise(10001)))};
     },
     Outcome::Message, "",
     "The recording holds no steady voiced stretch: no vowel was found to analyse."},
    {"VowelRecording",
     [](const auto& f) { return QStringList{Path(testing::AddVowel(f, "vowel.wav"))}; },
     Outcome::RecordingOpened, "", ""},
    {"SilentRecording",
     [](const auto& f) {
         return QStringList{
             Path(testing::AddSamples(f, "quiet.wav", std::vector<std::int16_t>(44100)))};
     },
     Outcome::Message, "", "The recording is silent: there is no voice to analyse."},
    {"NotASoundFile",
     [](const auto& f) {
         return QStringList{Path(f.Add("notes.txt", test::Bytes{'h', 'i'}))};
     },
     Outcome::Message, "", "cannot read {folder}/notes.txt: *"},
    // Latin-2 "Dvořák": bytes that are not UTF-8, which Qt shows with
    // replacement characters.
    {"PeriodWithANameThatIsNotUtf8",
     [](const auto& f) {
         return QStringList{QFile::decodeName(
             testing::AddSamples(f, "Dvo\xF8\xE1k_3.wav", testing::Period(441)).c_str())};
     },
     Outcome::Loaded, "dvo\uFFFD\uFFFDk_3.wav", ""},
    {"RecordingWithANameThatIsNotUtf8",
     [](const auto& f) {
         return QStringList{QFile::decodeName(testing::AddVowel(f, "Dvo\xF8\xE1k_3.wav").c_str())};
     },
     Outcome::RecordingOpened, "", ""},
    {"MissingFile",
     [](const auto& f) { return QStringList{Path((f.Path() / "gone.wav").string())}; },
     Outcome::Message, "", "{folder}/gone.wav: File not found."},
    {"Folder", [](const auto& f) { return QStringList{Path(f.Path().string())}; }, Outcome::Message,
     "", "{folder}: File access denied."},
    {"TwoFiles",
     [](const auto& f) {
         return QStringList{Path(testing::AddSamples(f, "a1.wav", testing::Period(400))),
                            Path(testing::AddSamples(f, "b1.wav", testing::Period(400)))};
     },
     Outcome::Message, "", "Tesmera opens one file at a time; 2 files were given.", true},
};

class OutsideFile : public WindowFixture, public ::testing::WithParamInterface<OutsideCase> {
  protected:
    QList<RecordingWindow*> RecordingWindows() const {
        return form->findChildren<RecordingWindow*>();
    }
    test::TempFolder folder;
};

TEST_P(OutsideFile, IsLoadedOpenedOrRefusedByItsKind) {
    const OutsideCase& c = GetParam();
    form->OpenFiles(c.files(folder));
    ASSERT_TRUE(testing::AwaitRecording(*form));
    const QString folderPath = QString::fromStdString(folder.Path().string());
    const QString message = QString::fromLatin1(c.message).replace("{folder}", folderPath);
    switch (c.outcome) {
        case Outcome::Loaded:
            EXPECT_TRUE(state->FileLoaded);
            EXPECT_EQ(Field("Edit1"), c.field);
            EXPECT_TRUE(shown.errors.empty());
            EXPECT_EQ(shown.warnings.size(), message.isEmpty() ? 0u : 1u);
            EXPECT_TRUE(RecordingWindows().empty());
            break;
        case Outcome::RecordingOpened:
            EXPECT_FALSE(state->FileLoaded);
            EXPECT_TRUE(shown.errors.empty());
            EXPECT_TRUE(shown.warnings.empty());
            EXPECT_EQ(RecordingWindows().size(), 1);
            break;
        case Outcome::Message: {
            EXPECT_FALSE(state->FileLoaded);
            EXPECT_TRUE(RecordingWindows().empty());
            const auto& box = c.warning ? shown.warnings : shown.errors;
            ASSERT_EQ(box.size(), 1u);
            EXPECT_EQ(box.size() + (c.warning ? shown.errors : shown.warnings).size(), 1u);
            if (message.endsWith('*')) {
                EXPECT_TRUE(box[0].startsWith(message.chopped(1))) << box[0].toStdString();
            } else {
                EXPECT_EQ(box[0], message);
            }
            break;
        }
    }
    // No file dialog is involved.
    EXPECT_TRUE(shown.fileDialogs.empty());
}

INSTANTIATE_TEST_SUITE_P(Form1, OutsideFile, ::testing::ValuesIn(OutsideCases), test::CaseName());

class Outside : public WindowFixture {
  protected:
    test::TempFolder folder;
};

TEST_F(Outside, AFileThatCannotBeOpenedLeavesTheLoadedPeriodAlone) {
    form->OpenFiles({Path(testing::AddSamples(folder, "kept4.wav", testing::Period(300)))});
    form->OpenFiles({Path((folder.Path() / "gone.wav").string())});
    EXPECT_TRUE(state->FileLoaded);
    EXPECT_EQ(Field("Edit1"), "kept4.wav");
    EXPECT_EQ(Field("Edit4"), "300");
}

TEST_F(Outside, NoFilesDoNothing) {
    form->OpenFiles({});
    EXPECT_TRUE(shown.warnings.empty());
    EXPECT_TRUE(shown.errors.empty());
}

void Drop(QWidget* target, const QList<QUrl>& urls, bool* accepted = nullptr) {
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(300, 200), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (accepted != nullptr) {
        *accepted = enter.isAccepted();
    }
    if (enter.isAccepted()) {
        QDropEvent drop(QPointF(300, 200), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
    }
}

TEST_F(Outside, ADroppedPeriodFileLoadsAfterTheDropHasReturned) {
    const std::string path = testing::AddSamples(folder, "dropped5.wav", testing::Period(500));
    Drop(form.get(), {QUrl::fromLocalFile(Path(path))});
    EXPECT_FALSE(state->FileLoaded);
    QApplication::processEvents();
    EXPECT_TRUE(state->FileLoaded);
    EXPECT_EQ(Field("Edit1"), "dropped5.wav");
}

TEST_F(Outside, TwoDroppedFilesGetTheMessage) {
    const std::string a = testing::AddSamples(folder, "a1.wav", testing::Period(500));
    Drop(form.get(), {QUrl::fromLocalFile(Path(a)), QUrl::fromLocalFile(Path(a))});
    QApplication::processEvents();
    EXPECT_EQ(shown.warnings,
              std::vector<QString>{"Tesmera opens one file at a time; 2 files were given."});
}

TEST_F(Outside, ADropOfSomethingElseThanLocalFilesIsRefused) {
    bool accepted = true;
    Drop(form.get(), {QUrl(QStringLiteral("https://example.org/voice3.wav"))}, &accepted);
    EXPECT_FALSE(accepted);
}

// The fields and memos leave a dropped file to the window instead of
// pasting its path as text.
TEST_F(Outside, FieldsAndMemosTakeNoDrops) {
    for (const char* name : {"Edit1", "Edit2", "Edit19", "Memo1", "Memo3", "Memo4"}) {
        EXPECT_FALSE(Find(name)->acceptDrops()) << name;
    }
    EXPECT_TRUE(form->acceptDrops());
}

TEST_F(Outside, FileDialogsStartInTheFolderOfTheLastFileOpened) {
    form->SpeedButton1Click();
    const std::string first = testing::AddSamples(folder, "one/first1.wav", testing::Period(400));
    form->OpenFiles({Path(first)});
    form->SpeedButton1Click();
    const std::string second = testing::AddSamples(folder, "two/second2.wav", testing::Period(400));
    dialogs->Choose(Path(second));
    form->SpeedButton1Click();
    form->SpeedButton4Click();
    ASSERT_EQ(shown.fileDialogs.size(), 4u);
    EXPECT_EQ(shown.fileDialogs[0].second, "");
    EXPECT_EQ(shown.fileDialogs[1].second, Path((folder.Path() / "one").string()));
    EXPECT_EQ(shown.fileDialogs[2].second, Path((folder.Path() / "one").string()));
    EXPECT_EQ(shown.fileDialogs[3],
              std::make_pair(QString("recording"), Path((folder.Path() / "two").string())));
}

}  // namespace
}  // namespace tesmera
