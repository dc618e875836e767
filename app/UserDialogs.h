// SPDX-License-Identifier: GPL-3.0-or-later
// Everything modal that a command may show. The window talks only to this
// interface, so tests can script the user's answers.
#pragma once

#include <optional>

#include <QString>

class QPrinter;
class QWidget;

namespace tesmera {

class UserDialogs {
  public:
    virtual ~UserDialogs() = default;

    // The program's own messages: caption "Warning", warning icon, one OK.
    virtual void ShowWarning(const QString& message) = 0;
    // An error that ended a command: caption = the application title, error
    // icon, one OK. The text already carries its closing full stop.
    virtual void ShowError(const QString& message) = 0;
    // The voice file to load, or nothing when the user cancels. The name need
    // not exist: the load then ends with "File not found". The dialog opens
    // in `startFolder`, or where the platform chooses when it is empty.
    virtual std::optional<QString> ChooseVoiceFile(const QString& startFolder) = 0;
    // A recording of a sustained vowel to open, or nothing on a cancel.
    virtual std::optional<QString> ChooseRecording(const QString& startFolder) = 0;
    // Where to write a voice period file, starting from `proposedPath`, or
    // nothing on a cancel.
    virtual std::optional<QString> ChooseSavePath(const QString& proposedPath) = 0;
    // Where to write a report as PDF, starting from `proposedPath`, or
    // nothing on a cancel.
    virtual std::optional<QString> ChooseReportPdfPath(const QString& proposedPath) = 0;
    // Lets the user choose and set up `printer`; false on a cancel.
    virtual bool ChoosePrinter(QPrinter& printer) = 0;
    // Where to save a take from the recorder, as WAV, starting from
    // `proposedPath`, or nothing on a cancel.
    virtual std::optional<QString> ChooseTakePath(const QString& proposedPath) = 0;
    // Asks whether to go on and lose what `question` names; true for yes.
    virtual bool ConfirmDiscard(const QString& question) = 0;
};

// The real boxes and file dialogs, modal to the window the user is working
// in (the given one when none is active).
class QtUserDialogs final : public UserDialogs {
  public:
    explicit QtUserDialogs(QWidget* owner) : owner_(owner) {}

    void ShowWarning(const QString& message) override;
    void ShowError(const QString& message) override;
    std::optional<QString> ChooseVoiceFile(const QString& startFolder) override;
    std::optional<QString> ChooseRecording(const QString& startFolder) override;
    std::optional<QString> ChooseSavePath(const QString& proposedPath) override;
    std::optional<QString> ChooseReportPdfPath(const QString& proposedPath) override;
    bool ChoosePrinter(QPrinter& printer) override;
    std::optional<QString> ChooseTakePath(const QString& proposedPath) override;
    bool ConfirmDiscard(const QString& question) override;

  private:
    QWidget* Owner() const;
    std::optional<QString> ChooseWavToWrite(const QString& title, const QString& name,
                                            const QString& proposedPath);

    QWidget* owner_;
};

}  // namespace tesmera
