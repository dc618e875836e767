// SPDX-License-Identifier: GPL-3.0-or-later
// Opens recordings away from the window's thread: a recording is read in
// blocks, reported and cut down to what the recording window draws on a
// thread of its own, while the window keeps painting and answering keys.
// One recording at a time: a new one, or a cancel, drops the one under way,
// whose result then never arrives.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stop_token>
#include <string>

#include <QObject>
#include <QString>
#include <QThreadPool>

#include "app/RecordingModel.h"
#include "recording/sound_input.h"

namespace tesmera {

// How the analysis of a recording ended.
struct AnalysedRecording {
    QString Path;
    // The recording as the window shows it; null when it could not be read
    // or reported.
    std::shared_ptr<RecordingModel> Model;
    // Why not, in the reader's or the rate converter's words.
    std::string Error;
    // The samples of a take from the recorder, which no file holds yet;
    // null for a recording read from its file.
    std::shared_ptr<const MonoRecording> Take;
};

class RecordingAnalysis : public QObject {
    Q_OBJECT
  public:
    explicit RecordingAnalysis(QObject* parent = nullptr);
    // Stops the work and waits for it: the scan stops within a block, the
    // report after it takes well under a second.
    ~RecordingAnalysis() override;

    // Starts on `path`, dropping the recording under way.
    void Start(const QString& path);
    // Starts on a take held in memory, named `name` until it is saved,
    // dropping the recording under way.
    void StartTake(const QString& name, std::shared_ptr<const MonoRecording> take);
    // Drops the recording under way.
    void Cancel();
    // A recording is under way: its result has yet to arrive.
    bool Busy() const { return current_ != 0; }
    // No thread works on a recording any more, a dropped one included.
    bool Idle() const { return pool_.activeThreadCount() == 0; }

  signals:
    // Every signal comes on this object's thread, never on the working one.
    // `path` is under way from now on.
    void Started(const QString& path);
    // The share of the recording read so far, 0 to 1.
    void Progressed(double share);
    // Every started recording that is not dropped ends here.
    void Finished(const AnalysedRecording& result);

  private:
    // Opens the recording a job works on, on the working thread.
    using Opening = std::function<std::unique_ptr<ScannedRecording>(const ScanControl& control)>;
    void StartJob(AnalysedRecording job, Opening open);
    // On the working thread; it reaches this object only by queued calls.
    void Run(std::uint64_t job, AnalysedRecording result, const Opening& open,
             std::stop_token stop);
    // Tells this object the job's progress and stops the job's scan.
    ScanControl Control(std::uint64_t job, std::stop_token stop);
    // On this object's thread: pass on what the job under way sends, and
    // drop what a dropped job still sends.
    void Deliver(std::uint64_t job, const AnalysedRecording& result);
    void Report(std::uint64_t job, double share);

    QThreadPool pool_;
    std::stop_source stop_;
    std::uint64_t current_ = 0;  // the job under way; 0 for none
    std::uint64_t lastJob_ = 0;
};

}  // namespace tesmera
