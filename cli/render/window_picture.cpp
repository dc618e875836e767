// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/render/window_picture.h"

#include <memory>

#include <QBuffer>
#include <QFile>
#include <QImageWriter>

#include "app/AnalysisState.h"
#include "app/TForm1.h"
#include "app/UserDialogs.h"

namespace tesmera {

namespace {

// Stands in for the user: opens the one file and collects every box.
class RenderDialogs final : public UserDialogs {
  public:
    RenderDialogs(const std::string& voiceFile, std::vector<std::string>& messages)
        : voiceFile_(QFile::decodeName(voiceFile.c_str())), messages_(messages) {}

    void ShowWarning(const QString& message) override { Collect(message); }
    void ShowError(const QString& message) override { Collect(message); }
    std::optional<QString> ChooseVoiceFile(const QString&) override { return voiceFile_; }
    // A rendering opens no recording, records nothing and saves nothing.
    std::optional<QString> ChooseRecording(const QString&) override { return std::nullopt; }
    std::optional<QString> ChooseSavePath(const QString&) override { return std::nullopt; }
    std::optional<QString> ChooseReportPdfPath(const QString&) override { return std::nullopt; }
    bool ChoosePrinter(QPrinter&) override { return false; }
    std::optional<QString> ChooseTakePath(const QString&) override { return std::nullopt; }
    bool ConfirmDiscard(const QString&) override { return true; }

  private:
    void Collect(const QString& message) { messages_.push_back(message.toStdString()); }

    QString voiceFile_;
    std::vector<std::string>& messages_;
};

}  // namespace

WindowPicture RenderWindowPicture(const std::string& voiceFile) {
    WindowPicture picture;
    const auto state = std::make_unique<AnalysisState>();
    TForm1 form(*state, std::make_unique<RenderDialogs>(voiceFile, picture.Messages));
    form.show();
    form.SpeedButton1Click();
    picture.Loaded = state->FileLoaded;
    form.SpeedButton3Click();
    const QWidget* oscilloscope = form.findChild<QWidget*>(QStringLiteral("Image1"));
    const QWidget* chart = form.findChild<QWidget*>(QStringLiteral("Chart1"));
    picture.Image = form.grab(oscilloscope->geometry().united(chart->geometry())).toImage();
    return picture;
}

QByteArray PngBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "PNG");
    if (!writer.write(image)) {
        return {};
    }
    return bytes;
}

}  // namespace tesmera
