// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/marked_stretch.h"

#include <algorithm>
#include <cmath>

#include "analysis/number_text.h"
#include "recording/voiced_stretch.h"

namespace tesmera {

namespace {

// The stretch reaches half a frame step beyond its first and last frame.
constexpr double StretchMargin = 0.005;  // seconds
// A recording up to this long is measured whole, so the harmonicity frames
// lie where they lie in the whole recording and its global peak is the
// recording's own, as a voice tool analysing the file gives them; unless it
// holds more samples than a minute at 96 kHz (46 MB a copy), which bounds
// the memory at the highest rates.
constexpr double WholeRecordingSeconds = 60;
constexpr std::size_t WholeRecordingSamples = 60 * 96000;
// A longer one is measured on its stretch with this much signal on each
// side: the check of the last cycle looks one and a half periods past it
// (25 ms at LowestF0), a harmonicity frame reaches 13 ms past its centre
// and the conversion to the nominal rate wants 20 ms.
constexpr double ExcerptMargin = 0.1;  // seconds

std::string SecondsText(double seconds) {
    return FixedText(seconds, 15, 3, ".");
}

// The smoothed F0 of the stretch's voiced frames (see LinearPeriodTrack);
// times in seconds of the recording.
PeriodTrack StretchPeriods(std::span<const VoicingFrame> frames, const VoicedStretch& voiced) {
    std::vector<F0Point> points;
    for (std::size_t j = voiced.Stretch.First; j <= voiced.Stretch.Last; ++j) {
        if (voiced.SmoothedF0[j] > 0) {
            points.push_back({frames[j].Time, voiced.SmoothedF0[j]});
        }
    }
    return LinearPeriodTrack(std::move(points));
}

std::size_t FrameNear(std::span<const VoicingFrame> frames, double seconds) {
    const auto nearest = std::ranges::min_element(
        frames, {}, [&](const VoicingFrame& f) { return std::fabs(f.Time - seconds); });
    return static_cast<std::size_t>(nearest - frames.begin());
}

// The longest voiced stretch, or the one around `around`, limited to
// LongestStretchSeconds: around that frame, or else the stretch's middle,
// away from its onset and offset.
std::optional<VoicedStretch> ChooseStretch(std::span<const VoicingFrame> frames,
                                           std::optional<std::size_t> around) {
    auto voiced = FindVoicedStretch(frames, around);
    if (!voiced || frames[voiced->Stretch.Last].Time - frames[voiced->Stretch.First].Time <=
                       LongestStretchSeconds) {
        return voiced;
    }
    const FrameRange whole = voiced->Stretch;
    const std::size_t centre = around ? *around : (whole.First + whole.Last) / 2;
    const double reach = LongestStretchSeconds / 2;
    const double centreTime = frames[centre].Time;
    // A centre near either end of the stretch shifts the window back inside it.
    const double start = std::clamp(centreTime - reach, frames[whole.First].Time,
                                    frames[whole.Last].Time - LongestStretchSeconds);
    std::size_t first = whole.First;
    while (frames[first].Time < start) {
        ++first;
    }
    std::size_t last = first;
    while (last < whole.Last && frames[last + 1].Time - frames[first].Time <= 2 * reach) {
        ++last;
    }
    voiced->Stretch = {first, last};
    return voiced;
}

// The stretch's frames, or the refusal in `outcome`.
std::optional<VoicedStretch> FindStretch(const ScannedRecording& recording,
                                         std::optional<double> atSeconds, Status& outcome) {
    const std::span<const VoicingFrame> frames = recording.Frames();
    // A sound too short to hold a voice is not silence, however few frames
    // it gives.
    const bool loud = recording.Envelope().Peak() > SilenceRms;
    if (loud && recording.Duration() * LowestF0 < ReportMinimumCycles) {
        outcome = TooShortStatus();
        return std::nullopt;
    }
    if (std::ranges::all_of(frames, [](const VoicingFrame& f) { return f.Rms <= SilenceRms; })) {
        outcome = {StatusCode::Silent, "silent"};
        return std::nullopt;
    }
    std::optional<std::size_t> around;
    if (atSeconds) {
        // Written so that a not-a-number is refused too.
        if (!(*atSeconds >= 0 && *atSeconds <= recording.Duration())) {
            outcome = {StatusCode::OutsideRecording, "the chosen time " + SecondsText(*atSeconds) +
                                                         " s lies outside the recording (0 to " +
                                                         SecondsText(recording.Duration()) + " s)"};
            return std::nullopt;
        }
        around = FrameNear(frames, *atSeconds);
    }
    const auto stretch = ChooseStretch(frames, around);
    if (!stretch) {
        outcome = atSeconds ? Status{StatusCode::UnvoicedAtTime, "unvoiced at the chosen time"}
                            : Status{StatusCode::Unvoiced, "unvoiced"};
    }
    return stretch;
}

RecordingExcerpt ExcerptFor(ScannedRecording& recording, double from, double to) {
    const double rate = recording.SampleRate();
    if (recording.Duration() <= WholeRecordingSeconds &&
        recording.SampleCount() <= WholeRecordingSamples) {
        return {0, recording.Samples(0, recording.SampleCount()), 0};
    }
    const auto first =
        static_cast<std::size_t>(std::max(0.0, std::floor((from - ExcerptMargin) * rate)));
    const auto end = static_cast<std::size_t>(std::ceil((to + ExcerptMargin) * rate));
    return {first, recording.Samples(first, end - first), static_cast<double>(first) / rate};
}

}  // namespace

Status TooShortStatus() {
    return {StatusCode::TooShort,
            "too short: fewer than " + std::to_string(ReportMinimumCycles) + " cycles"};
}

MarkedStretch MarkStretch(ScannedRecording& recording, std::optional<double> atSeconds) {
    MarkedStretch stretch;
    const auto voiced = FindStretch(recording, atSeconds, stretch.Outcome);
    if (!voiced) {
        return stretch;
    }
    const std::span<const VoicingFrame> track = recording.Frames();
    stretch.StartSeconds = track[voiced->Stretch.First].Time - StretchMargin;
    stretch.EndSeconds = track[voiced->Stretch.Last].Time + StretchMargin;
    stretch.PhonationStartSeconds = track[voiced->Phonation.First].Time - StretchMargin;
    stretch.PhonationEndSeconds = track[voiced->Phonation.Last].Time + StretchMargin;
    stretch.Changes = voiced->Changes;
    stretch.Excerpt = ExcerptFor(recording, stretch.StartSeconds, stretch.EndSeconds);
    // From here on, times are seconds from the excerpt's first sample.
    const double offset = stretch.Excerpt.StartSeconds;
    const PeriodTrack period = [periods = StretchPeriods(track, *voiced), offset](double seconds) {
        return periods(seconds + offset);
    };
    const double rate = recording.SampleRate();
    const std::span<const double> samples = stretch.Excerpt.Samples;
    stretch.Marks = MarkCycles(samples, rate, stretch.StartSeconds - offset,
                               stretch.EndSeconds - offset, period, recording.Threads());
    stretch.Verdicts = CheckCycles(samples, rate, stretch.Marks, period, recording.Threads());
    return stretch;
}

}  // namespace tesmera
