// SPDX-License-Identifier: GPL-3.0-or-later
// The main window. Its methods run the two commands step by step, in the
// order the user sees them happen, and call the core for every number.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include <QImage>
#include <QWidget>

#include "app/AnalysisState.h"
#include "app/AudioDevices.h"
#include "app/UserDialogs.h"
#include "wave/voice_period.h"

class QDragEnterEvent;
class QDropEvent;
class QFrame;
class QKeySequence;
class QLabel;
class QLineEdit;
class QToolButton;

namespace tesmera {

struct AnalysedRecording;
class CommandQueue;
struct PeriodAnalysis;
class RecordingAnalysis;
class TBarSeries;
class TChartControl;
class TImage;
class TMemo;

class TForm1 : public QWidget {
    Q_OBJECT
  public:
    // `state` is the program-wide record; it outlives the window. Without
    // `dialogs` the window shows the real Qt boxes and file dialog.
    explicit TForm1(AnalysisState& state, std::unique_ptr<UserDialogs> dialogs = nullptr,
                    QWidget* parent = nullptr);
    ~TForm1() override;

    void FormCreate();
    void FormClose();
    void ResetAll();
    void SpeedButton1Click();  // load
    void SpeedButton3Click();  // compute
    void SpeedButton4Click();  // open a recording
    // Opens the recorder; its take opens as a recording.
    void RecordTake();
    // The sound devices the recorder and the recording windows use; the
    // real ones unless a test gives others before the first use.
    AudioDevices& Audio();
    void UseAudioDevices(std::unique_ptr<AudioDevices> audio) { audio_ = std::move(audio); }

    // Files handed over from outside the window (the command line, a drop):
    // a file the load command takes as one voice period is loaded by it, any
    // other opens as a recording. Several files, or one that cannot be read,
    // get a message and leave the window as it is.
    void OpenFiles(const QStringList& paths);
    // Files named outside the window (its command line, another start of
    // the program), as native names: the window comes to the front and
    // opens them as OpenFiles does, once the event loop runs, so their
    // messages show over it. No files only bring the window to the front.
    void OpenFromOutside(const std::vector<std::string>& files);
    // Loads one voice period held in memory exactly as the load command loads
    // a file: `fileName` stands for the chosen file (it names the field and
    // gives the expert grade), the samples for its data.
    void LoadPeriod(const QString& fileName, std::span<const std::int16_t> samples);
    // The commands asked for by clicks, shortcuts and assistive tools run
    // through this queue, one at a time.
    CommandQueue& Commands() { return *commands_; }
    // Recordings are opened on a thread of their own through this.
    RecordingAnalysis& Recordings() { return *recordings_; }
    void Osciloskop1Ini();
    void Osciloskop11(const AnalysisState::Signal& signalValues,
                      const AnalysisState::Signal& modelValues, double signalScale,
                      double modelScale, std::int32_t pointCount);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void CreateControls();
    void CreateLabels();
    void CreateToolBar();
    void CreateValueFields();
    void CreateMemos();
    void AttachLabels();
    void ArrangeTabOrder();
    void CreateShortcuts();
    void AddShortcut(const QKeySequence& keys, void (TForm1::*command)());
    void Request(void (TForm1::*command)());
    void DescribeChart();
    void DescribeOscilloscope(const QString& description);

    void BarChartRefill();
    // Runs one command; an error that ends it is shown in the general error box.
    void RunCommand(const std::function<void()>& command);
    void SetText(QLineEdit* field, const QString& text);
    QString Fixed(double value, int precision, int digits) const;

    WarningSink Warnings();
    void StartLoad();
    void LoadVoiceFile(const std::optional<QString>& chosen);
    void ShowLoadedPeriod(const PeriodAnalysis& record);
    void ShowLoadedValues();
    void OpenFile(const QString& path);
    void CreateRecordingAnalysis();
    void OpenRecording(const QString& path);
    void OpenTake(MonoRecording take);
    void ShowRecording(const AnalysedRecording& result);
    void RememberFolderOf(const QString& path);
    void ComputeAnalysis();
    void ShowReports();

    AnalysisState& state_;
    std::unique_ptr<UserDialogs> dialogs_;
    std::unique_ptr<AudioDevices> audio_;      // made on first use
    CommandQueue* commands_ = nullptr;         // owned through Qt's parent chain
    RecordingAnalysis* recordings_ = nullptr;  // likewise
    // Where the next file dialog starts: the folder of the last file opened
    // in this run, empty before the first. Kept in memory only.
    QString lastFolder_;

    // The controls, owned by the window through Qt's parent chain. Each
    // carries its name as objectName, so tests and accessibility tools find it.
    TImage* Image1 = nullptr;
    QFrame* Panel1 = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QToolButton* SpeedButton3 = nullptr;
    QToolButton* SpeedButton4 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QLineEdit* Edit5 = nullptr;
    TMemo* Memo1 = nullptr;
    TMemo* Memo3 = nullptr;
    TMemo* Memo4 = nullptr;
    QLineEdit* Edit14 = nullptr;
    QLineEdit* Edit15 = nullptr;
    QLineEdit* Edit16 = nullptr;
    QLineEdit* Edit17 = nullptr;
    QLineEdit* Edit18 = nullptr;
    QLineEdit* Edit19 = nullptr;
    TChartControl* Chart1 = nullptr;
    TBarSeries* BarSeries1 = nullptr;
};

}  // namespace tesmera
