// SPDX-License-Identifier: GPL-3.0-or-later
// The words and numbers of the recording window: the report table's cells,
// the measures, the steadiness verdict, the reason a recording cannot be
// shown and the name proposed for a saved period. Plain functions of the
// report and the decimal separator, so a test sees every text at once.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include <QString>
#include <QStringList>

#include "recording/voice_report.h"

namespace tesmera {

// The columns of the report table, one row per score model.
QStringList ModelColumnTitles();
// One row per model in ScoreModels order: its id, the median raw value (4
// decimals), the score, the IQR (4 decimals), the shares of cycles at grades
// 1..5 in percent ("1: 0 %, 2: 85 %, ..."), and "yes" or "no" for borderline.
std::vector<QStringList> ModelRows(const VoiceReport& report, const QString& decimal);

struct MeasureText {
    QString name;
    // "not defined" where the measure is absent; ", outside its norm" after
    // a value outside it.
    QString value;
    QString norm;    // the published norm and its source; empty for the report's own facts
    QString caveat;  // what the norm depends on (sex, language, vowel, software)
    bool outside = false;
};
// Every figure of the voice report, in this order: the expert grade the
// file name gives, the analysed stretch's times, the cycles analysed and
// left out, then the measures beside their norms as MeasureLines gives
// them (F0 mean followed by its deviation, jitter, shimmer, HNR, CPPS,
// AVQI when there is one), and the recording's quality.
std::vector<MeasureText> MeasureRows(const VoiceReport& report,
                                     std::optional<std::int32_t> expertGrade,
                                     const QString& decimal);

// The line read first, above the figures (see ReportSummary).
QString SummaryText(const VoiceReport& report);

// The steadiness of the voice as a sentence.
QString SteadinessText(const VoiceReport& report);

// Why a recording cannot be shown, as its message box says it; empty when it
// can (it has at least one cycle). `status` is the report's.
QString UnshowableReason(const VoiceReport& report);

// One line about the selected cycle: its number, time, length and F0, or
// why it was left out. `number` counts from 1; `rate` is the recording's.
QString CycleText(const ReportedCycle& cycle, int number, int count, double rate,
                  const QString& decimal);

// Where "Save period as..." proposes to write cycle `number` of a recording:
// beside it, under the name every route gives that cycle (see
// CyclePeriodFileName): "/a/voice3.flac", 12 gives "/a/voice3_c012_3.wav".
QString ProposedPeriodPath(const QString& recordingPath, int number);

}  // namespace tesmera
