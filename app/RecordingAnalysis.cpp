// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/RecordingAnalysis.h"

#include <cmath>
#include <stdexcept>

#include "app/native_file_name.h"
#include "recording/parallel_work.h"
#include "recording/sound_input.h"

namespace tesmera {

namespace {

// Progress is told in whole percents, so a long recording does not flood
// the window's event queue with a message per block.
constexpr double ProgressSteps = 100;

}  // namespace

RecordingAnalysis::RecordingAnalysis(QObject* parent) : QObject(parent) {
    setObjectName(QStringLiteral("RecordingAnalysis"));
}

RecordingAnalysis::~RecordingAnalysis() {
    Cancel();
    pool_.waitForDone();
}

void RecordingAnalysis::Start(const QString& path) {
    StartJob({path, nullptr, {}, nullptr}, [path](const ScanControl& control) {
        return std::make_unique<RecordingFile>(NativeFileName(path), AvailableCores(), control);
    });
}

void RecordingAnalysis::StartTake(const QString& name, std::shared_ptr<const MonoRecording> take) {
    StartJob({name, nullptr, {}, take}, [take](const ScanControl&) {
        // A take is seconds long and in memory: its scan is over at once.
        return std::make_unique<RecordingInMemory>(take->Samples, take->SampleRate,
                                                   AvailableCores());
    });
}

void RecordingAnalysis::StartJob(AnalysedRecording job, Opening open) {
    Cancel();
    current_ = ++lastJob_;
    stop_ = std::stop_source();
    const QString path = job.Path;
    pool_.start([this, id = current_, job = std::move(job), open = std::move(open),
                 stop = stop_.get_token()]() mutable { Run(id, std::move(job), open, stop); });
    emit Started(path);
}

void RecordingAnalysis::Cancel() {
    stop_.request_stop();
    current_ = 0;
}

ScanControl RecordingAnalysis::Control(std::uint64_t job, std::stop_token stop) {
    const auto progress = [this, job, told = -1.0](std::size_t scanned,
                                                   std::size_t expected) mutable {
        const double share = expected == 0
                                 ? 0
                                 : std::floor(ProgressSteps * static_cast<double>(scanned) /
                                              static_cast<double>(expected)) /
                                       ProgressSteps;
        if (share != told) {
            told = share;
            QMetaObject::invokeMethod(
                this, [this, job, share] { Report(job, share); }, Qt::QueuedConnection);
        }
    };
    return {progress, std::move(stop)};
}

void RecordingAnalysis::Run(std::uint64_t job, AnalysedRecording result, const Opening& open,
                            std::stop_token stop) {
    try {
        const std::unique_ptr<ScannedRecording> recording = open(Control(job, std::move(stop)));
        result.Model = std::make_shared<RecordingModel>(ModelRecording(*recording));
    } catch (const ScanCancelled&) {
        return;
    } catch (const std::exception& error) {
        // The reader's refusal, the rate converter's, or anything else that
        // ends the work: told to the user, never lost with the thread.
        result.Error = error.what();
    }
    QMetaObject::invokeMethod(
        this, [this, job, result = std::move(result)] { Deliver(job, result); },
        Qt::QueuedConnection);
}

void RecordingAnalysis::Report(std::uint64_t job, double share) {
    if (job == current_) {
        emit Progressed(share);
    }
}

void RecordingAnalysis::Deliver(std::uint64_t job, const AnalysedRecording& result) {
    if (job == current_) {
        current_ = 0;
        emit Finished(result);
    }
}

}  // namespace tesmera
