// SPDX-License-Identifier: GPL-3.0-or-later
// The window with the real Qt message boxes and open-file dialog, answered
// from the event loop as a user would answer them.
#include <filesystem>
#include <functional>
#include <memory>
#include <utility>

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include "app/RecordingWindow.h"
#include "app/TForm1.h"
#include "app/TImage.h"
#include "app/TMemo.h"
#include "app/WindowFixture.h"
#include "app/recording_files.h"
#include "support/qt_printers.h"

namespace tesmera {
namespace {

struct SeenBox {
    QString caption;
    QString text;
    QMessageBox::Icon icon;
    int buttons;
    Qt::TextFormat format;

    bool operator==(const SeenBox&) const = default;
    friend void PrintTo(const SeenBox& box, std::ostream* os) {
        *os << box.caption.toStdString() << ": \"" << box.text.toStdString() << "\" icon "
            << box.icon << ", " << box.buttons << " button(s), format " << box.format;
    }
};

// Every box the window shows has one OK button and plain text, so a file
// name can never be taken for markup.
SeenBox Box(const char* caption, const char* text, QMessageBox::Icon icon) {
    return {QString::fromLatin1(caption), QString::fromLatin1(text), icon, 1, Qt::PlainText};
}

// Watches for modal dialogs while a command runs: the file dialog gets the
// scripted path, every message box is recorded and closed with its OK.
class ModalAnswerer {
  public:
    explicit ModalAnswerer(QString fileToChoose) : fileToChoose_(std::move(fileToChoose)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { AnswerActiveModal(); });
        timer_.start(10);
    }

    const std::vector<SeenBox>& Boxes() const { return boxes_; }
    QStringList FileDialogFilters() const { return filters_; }

  private:
    void AnswerActiveModal() {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            filters_ = dialog->nameFilters();
            // Typed into the name field, as a user would. Selecting the file
            // instead races the dialog's listing of its folder, which for a
            // folder that does not exist can leave nothing selected.
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(name, nullptr);
            name->setText(fileToChoose_);
            QMetaObject::invokeMethod(dialog, "accept");
        } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            boxes_.push_back({box->windowTitle(), box->text(), box->icon(),
                              static_cast<int>(box->buttons().size()), box->textFormat()});
            box->button(QMessageBox::Ok)->click();
        }
    }

    QString fileToChoose_;
    QTimer timer_;
    std::vector<SeenBox> boxes_;
    QStringList filters_;
};

class RealDialogs : public ::testing::Test {
  protected:
    RealDialogs() { QApplication::setApplicationName(QStringLiteral("Tesmera")); }

    QString MemoText(const char* name) const {
        return form.findChild<TMemo*>(QLatin1String(name))->Text();
    }

    std::unique_ptr<AnalysisState> state = std::make_unique<AnalysisState>();
    TForm1 form{*state};
};

TEST_F(RealDialogs, LoadAndComputeABundledSample) {
    ModalAnswerer user(QStringLiteral(TESMERA_SOURCE_DIR "/samples/vowel_u_male2.wav"));
    form.SpeedButton1Click();
    EXPECT_EQ(user.FileDialogFilters(), QStringList{"[ * . wav ] (*.wav)"});
    ASSERT_TRUE(state->FileLoaded);
    form.SpeedButton3Click();
    EXPECT_TRUE(user.Boxes().empty());

    EXPECT_EQ(form.findChild<QLineEdit*>("Edit1")->text(), "vowel_u_male2.wav");
    EXPECT_EQ(MemoText("Memo3"), " i\tax[i]\tbx[i]\tAA[i]");
    EXPECT_TRUE(MemoText("Memo4").startsWith(" expert ORL\t =  2\r\n"));
    EXPECT_EQ(MemoText("Memo1").count(QStringLiteral("\r\n")), 16);

    const QImage& strip = form.findChild<TImage*>("Image1")->Picture();
    int red = 0;
    int blue = 0;
    for (int y = 1; y < strip.height() - 1; ++y) {
        for (int x = 1; x < strip.width() - 1; ++x) {
            red += strip.pixel(x, y) == qRgb(255, 0, 0);
            blue += strip.pixel(x, y) == qRgb(0, 0, 255);
        }
    }
    EXPECT_GT(blue, 375);
    EXPECT_GT(red, 0);
    // Kept beside the build for a look at the whole window.
    form.grab().save(QStringLiteral(TESMERA_BINARY_DIR "/window-after-compute.png"));
}

TEST_F(RealDialogs, WarningBoxHasItsCaptionIconAndOneButton) {
    ModalAnswerer user{QString()};
    form.SpeedButton3Click();
    EXPECT_EQ(user.Boxes(),
              std::vector{Box("Warning",
                              " Soubor *.WAV neni v pameti  \r\n Delka zaznamu je vetsi nez "
                              "10000 vzorku ",
                              QMessageBox::Warning)});
}

TEST_F(RealDialogs, TypedNameThatDoesNotExistEndsInTheErrorBox) {
    ModalAnswerer user(QStringLiteral("/nonexistent/<b>voice</b>3.wav"));
    form.SpeedButton1Click();
    EXPECT_EQ(user.Boxes(), std::vector{Box("Tesmera", "File not found.", QMessageBox::Critical)});
    EXPECT_FALSE(state->FileLoaded);
}

TEST_F(RealDialogs, OpenABundledRecordingAndSaveACycle) {
    const test::TempFolder folder;
    {
        ModalAnswerer user(
            QStringLiteral(TESMERA_SOURCE_DIR "/samples/recordings/sustained_a_male.wav"));
        form.SpeedButton4Click();
        ASSERT_TRUE(testing::AwaitRecording(form));
        EXPECT_EQ(user.FileDialogFilters(),
                  (QStringList{"Recordings (*.wav *.flac *.aif *.aiff *.au *.caf *.w64)",
                               "All files (*)"}));
        EXPECT_TRUE(user.Boxes().empty());
    }
    const auto windows = form.findChildren<RecordingWindow*>();
    ASSERT_EQ(windows.size(), 1);
    windows[0]->show();
    // Kept beside the build for a look at the recording window.
    windows[0]->grab().save(QStringLiteral(TESMERA_BINARY_DIR "/recording-window.png"));

    const QString saved = QString::fromStdString((folder.Path() / "cycle1.wav").string());
    ModalAnswerer saver(saved);
    windows[0]->SaveSelectedCycle();
    EXPECT_TRUE(saver.Boxes().empty());
    EXPECT_EQ(saver.FileDialogFilters(), QStringList{"[ * . wav ] (*.wav)"});
    // The dialog keeps the proposed name in the chosen folder: exactly one
    // period file lands there.
    const auto written = std::distance(std::filesystem::directory_iterator(folder.Path()),
                                       std::filesystem::directory_iterator());
    EXPECT_EQ(written, 1);
}

TEST_F(RealDialogs, ASilentRecordingGetsItsReasonInTheErrorBox) {
    const test::TempFolder folder;
    ModalAnswerer user(QString::fromStdString(
        testing::AddSamples(folder, "quiet.wav", std::vector<std::int16_t>(30000))));
    form.SpeedButton4Click();
    ASSERT_TRUE(testing::AwaitRecording(form));
    EXPECT_EQ(user.Boxes(),
              std::vector{Box("Tesmera", "The recording is silent: there is no voice to analyse.",
                              QMessageBox::Critical)});
    EXPECT_TRUE(form.findChildren<RecordingWindow*>().isEmpty());
}

}  // namespace
}  // namespace tesmera
