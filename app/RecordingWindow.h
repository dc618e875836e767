// SPDX-License-Identifier: GPL-3.0-or-later
// The window of one recording of a sustained vowel: the whole recording with
// its steady stretch, the stretch's cycles, the voice report as tables, and
// the selected cycle, which can be analysed in the main window or saved as
// a period file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include <QWidget>

#include "app/RecordingModel.h"
#include "app/UserDialogs.h"
#include "report_page/clinical_page.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QScrollBar;
class QSpinBox;
class QTableWidget;
class QTimer;

namespace tesmera {

class AudioDevices;
class CycleDetailView;
class RecordingAnalysis;
struct MonoRecording;
class RecordingOverview;
struct AnalysedRecording;

// What the window plays: the whole recording, the steady stretch the report
// analyses, or the selected cycle over and over.
enum class PlayedPart { Whole, Stretch, Cycle };

class RecordingWindow : public QWidget {
    Q_OBJECT
  public:
    // Loads one period into the main window; `fileName` stands for the file.
    using AnalyseInMainWindow =
        std::function<void(const QString& fileName, std::span<const std::int16_t> period)>;

    // The model's report has at least one cycle. `dialogs` belong to the
    // main window, which outlives this one (it is the parent).
    RecordingWindow(QString path, RecordingModel model, UserDialogs& dialogs,
                    AnalyseInMainWindow analyse, QWidget* parent = nullptr);

    const VoiceReport& Report() const { return report_; }
    std::size_t SelectedCycle() const { return selected_; }
    // Selects a cycle (clamped to the last one): the views, the spin box, the
    // cycle's line and the buttons follow.
    void SelectCycle(std::size_t index);

    // Moves the window next to the main window on its screen.
    void PlaceBeside(const QWidget& mainWindow);

    void AnalyseSelectedCycle();
    void SaveSelectedCycle();
    // Chooses another recording through the dialogs, analyses it away from
    // this window's thread and shows the two side by side in a comparison
    // window, this one as before, the chosen one as after.
    void CompareWithAnother();
    // Analyses the recording to compare with; Busy() until it is shown.
    const RecordingAnalysis& ComparedRecording() const { return *compared_; }
    // The one-page clinical report with the patient's details typed in the
    // window, to a PDF file or through the print dialog (Ctrl+P).
    void SaveReportPdf();
    void PrintReport();

    // Lets the window play through `audio` and open the recorder through
    // `record`. `take` is a take from the recorder that no file holds yet,
    // null for a recording read from its file. `audio` outlives the window.
    void AttachAudio(AudioDevices& audio, std::function<void()> record,
                     std::shared_ptr<const MonoRecording> take);
    void Play(PlayedPart part);
    void StopPlaying();
    // Stops what plays, or plays again what played last (at first the
    // whole recording).
    void PlayOrStop();
    bool Playing() const { return playing_; }
    // Saves the take where the user chooses; then the window shows that file.
    void SaveTake();
    bool TakeUnsaved() const { return take_ && !takeSaved_; }

  protected:
    // An unsaved take is only given up when the user agrees.
    void closeEvent(QCloseEvent* event) override;
    // A screen reader hears the verdicts of a new analysis when its window
    // appears, not only when the user tabs to them.
    void showEvent(QShowEvent* event) override;

  private:
    // "Recording - " and the file's name.
    void ShowTitle();
    QWidget* CreateAudioRow();
    void CreateAudioButton(QWidget* row, const QString& text, const QString& name,
                           const std::function<void()>& command);
    // The samples of `part`, at the recording's rate; playedFirst_ becomes
    // the recording's sample where they start. Throws RecordingError.
    MonoRecording PlayedSound(PlayedPart part);
    MonoRecording WholeRecording() const;
    void FollowPlaying();
    void ShowTakeState();

    QWidget* CreateCycleRow();
    QScrollBar* CreateViewScrollBar();
    // The scroll bar and the overview's frame follow the detail view.
    void FollowView();
    QScrollArea* CreateReportArea();
    QTableWidget* CreateModelTable();
    QTableWidget* CreateMeasureTable();
    QLabel* CreateSummaryLine();
    void CreateLayout();
    QPushButton* CreateCompareButton(QWidget* parent);
    void ShowComparison(const AnalysedRecording& result);
    QWidget* CreatePageRow();
    ClinicalPage Page() const;
    // True, after an error box, when `chosen` names the recording this
    // window reads, which writing the `what` ("period", "report") there
    // would destroy.
    bool IsTheRecording(const QString& chosen, const QString& what);

    QString path_;
    RecordingModel model_;
    const VoiceReport& report_ = model_.Report;
    UserDialogs& dialogs_;
    AnalyseInMainWindow analyse_;
    std::size_t selected_ = 0;

    RecordingOverview* overview_ = nullptr;
    CycleDetailView* detail_ = nullptr;
    QSpinBox* cycleNumber_ = nullptr;
    QLabel* cycleText_ = nullptr;
    QPushButton* analyseButton_ = nullptr;
    QPushButton* saveButton_ = nullptr;
    QLabel* statusLine_ = nullptr;  // what the last command did
    // The summary line and the steadiness verdict, told on first show.
    QLabel* summary_ = nullptr;
    QLabel* verdict_ = nullptr;
    bool verdictsAnnounced_ = false;
    QScrollBar* viewScroll_ = nullptr;
    QPushButton* compareButton_ = nullptr;
    RecordingAnalysis* compared_ = nullptr;
    // The patient's details for the page; never stored.
    QLineEdit* patientId_ = nullptr;
    QLineEdit* born_ = nullptr;
    QLineEdit* assessed_ = nullptr;

    AudioDevices* audio_ = nullptr;  // none until attached
    std::function<void()> record_;
    std::shared_ptr<const MonoRecording> take_;
    bool takeSaved_ = false;
    bool playing_ = false;
    PlayedPart lastPlayed_ = PlayedPart::Whole;
    std::size_t playedFirst_ = 0;
    QTimer* playTimer_ = nullptr;             // moves the position line while playing
    std::vector<QPushButton*> audioButtons_;  // enabled once audio is attached
    QPushButton* saveTakeButton_ = nullptr;
};

// The cycle a recording window selects first: the analysed cycle nearest the
// middle of the stretch (the one `extract` cuts), or the middle cycle when
// none was analysed.
std::size_t FirstSelectedCycle(const VoiceReport& report);

}  // namespace tesmera
