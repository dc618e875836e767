// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/recording_texts.h"

#include <cmath>
#include <functional>

#include <QDir>
#include <QFileInfo>

#include "analysis/number_text.h"
#include "analysis/reports.h"
#include "recording/cycle_file_name.h"

namespace tesmera {

namespace {

QString Number(double value, int digits, const QString& decimal) {
    return QString::fromStdString(FixedText(value, 15, digits, decimal.toStdString()));
}

QString Percent(double fraction, int digits, const QString& decimal) {
    return Number(100 * fraction, digits, decimal) + QStringLiteral(" %");
}

QString NotDefined() {
    return QStringLiteral("not defined");
}

QString Optional(const std::optional<double>& value, const std::function<QString(double)>& text) {
    return value ? text(*value) : NotDefined();
}

QString GradeShares(const ModelSummary& summary) {
    QStringList shares;
    for (std::size_t grade = 0; grade < ReportGradeCount; ++grade) {
        shares << QStringLiteral("%1: %2 %")
                      .arg(grade + 1)
                      .arg(std::lround(100 * summary.GradeShares[grade]));
    }
    return shares.join(QStringLiteral(", "));
}

}  // namespace

QStringList ModelColumnTitles() {
    return {QStringLiteral("Model"),
            QStringLiteral("Median value"),
            QStringLiteral("Score"),
            QStringLiteral("IQR"),
            QStringLiteral("Cycles at grades 1 to 5"),
            QStringLiteral("Borderline")};
}

std::vector<QStringList> ModelRows(const VoiceReport& report, const QString& decimal) {
    std::vector<QStringList> rows;
    for (std::size_t m = 0; m < ScoreModelCount; ++m) {
        const ModelSummary& summary = report.Models[m];
        rows.push_back({QString::fromLatin1(ScoreModels[m].id.data(),
                                            static_cast<qsizetype>(ScoreModels[m].id.size())),
                        Number(summary.MedianValue, 4, decimal), QString::number(summary.Score),
                        Number(summary.Iqr, 4, decimal), GradeShares(summary),
                        summary.Borderline ? QStringLiteral("yes") : QStringLiteral("no")});
    }
    return rows;
}

std::vector<MeasureText> MeasureRows(const VoiceReport& report,
                                     std::optional<std::int32_t> expertGrade,
                                     const QString& decimal) {
    const auto percent = [&](double v) { return Percent(v, 2, decimal); };
    const auto decibels = [&](int digits) {
        return [&decimal, digits](double db) {
            return Number(db, digits, decimal) + QStringLiteral(" dB");
        };
    };
    const QString localShimmer =
        report.Shimmer.LocalDb
            ? QStringLiteral("local %1 (%2 dB)")
                  .arg(Optional(report.Shimmer.Local, percent),
                       Number(*report.Shimmer.LocalDb, 2, decimal))
            : QStringLiteral("local %1").arg(Optional(report.Shimmer.Local, percent));
    return {
        {QStringLiteral("Expert grade"),
         expertGrade ? QStringLiteral("%1 (from the file name)").arg(*expertGrade)
                     : QStringLiteral("none in the file name")},
        {QStringLiteral("Analysed stretch"),
         QStringLiteral("%1 s to %2 s")
             .arg(Number(report.StretchStartSeconds, 3, decimal),
                  Number(report.StretchEndSeconds, 3, decimal))},
        {QStringLiteral("Cycles"), QString::fromStdString(CycleCountsText(CountCycles(report)))},
        {QStringLiteral("F0"),
         QStringLiteral("%1 Hz, deviation %2 Hz")
             .arg(Number(report.F0MeanHz, 1, decimal), Number(report.F0SdHz, 1, decimal))},
        {QStringLiteral("Jitter"),
         QStringLiteral("local %1, absolute %2, RAP %3, PPQ5 %4")
             .arg(Optional(report.Jitter.Local, percent),
                  Optional(report.Jitter.LocalAbsolute,
                           [&](double seconds) {
                               return Number(1e6 * seconds, 1, decimal) + QStringLiteral(" µs");
                           }),
                  Optional(report.Jitter.Rap, percent), Optional(report.Jitter.Ppq5, percent))},
        {QStringLiteral("Shimmer"), QStringLiteral("%1, APQ3 %2, APQ5 %3")
                                        .arg(localShimmer, Optional(report.Shimmer.Apq3, percent),
                                             Optional(report.Shimmer.Apq5, percent))},
        {QStringLiteral("Harmonics-to-noise ratio"), Optional(report.HnrDb, decibels(1))},
        {QStringLiteral("Cepstral peak prominence (CPPS)"), Optional(report.CppsDb, decibels(2))},
        {QStringLiteral("Recording quality"),
         report.Quality ? QString::fromStdString(report.Quality->Verdict()) : NotDefined()},
    };
}

QString SteadinessText(const VoiceReport& report) {
    if (!report.Ok()) {
        return QStringLiteral("Not enough for a report: %1.")
            .arg(QString::fromStdString(report.Outcome.Text));
    }
    if (report.Steady) {
        return QStringLiteral(
            "Steady voice: one voice throughout, and the halves of the stretch agree on every "
            "model.");
    }
    return QStringLiteral("Not steady: %1, so read the medians with care.")
        .arg(QString::fromStdString(report.UnsteadyReason));
}

QString UnshowableReason(const VoiceReport& report) {
    if (!report.Cycles.empty()) {
        return {};
    }
    switch (report.Outcome.Code) {
        case StatusCode::Silent:
            return QStringLiteral("The recording is silent: there is no voice to analyse.");
        case StatusCode::Unvoiced:
            return QStringLiteral(
                "The recording holds no steady voiced stretch: no vowel was found to analyse.");
        default:
            return QStringLiteral("The recording holds no voice cycles to analyse (%1).")
                .arg(QString::fromStdString(report.Outcome.Text));
    }
}

QString CycleText(const ReportedCycle& cycle, int number, int count, double rate,
                  const QString& decimal) {
    const double length = (cycle.EndSample - cycle.StartSample) / rate;
    const QString where =
        QStringLiteral("Cycle %1 of %2 at %3 s, %4 ms, F0 %5 Hz")
            .arg(number)
            .arg(count)
            .arg(Number(cycle.StartSample / rate, 3, decimal), Number(1000 * length, 2, decimal),
                 Number(1 / length, 1, decimal));
    switch (cycle.Verdict) {
        case CycleVerdict::CvOffTrack:
            return where + QStringLiteral(": left out, its F0 is off the pitch track");
        case CycleVerdict::CvMisshapen:
            return where + QStringLiteral(": left out, its waveform does not repeat at its length");
        case CycleVerdict::CvAccepted:
            break;
    }
    if (cycle.Period.empty()) {
        return where + QStringLiteral(": too short to cut");
    }
    return where + QStringLiteral(", %1 samples at 44100 Hz").arg(cycle.Period.size());
}

QString ProposedPeriodPath(const QString& recordingPath, int number) {
    const QFileInfo info(recordingPath);
    const std::string name =
        CyclePeriodFileName(info.fileName().toStdString(), static_cast<std::size_t>(number));
    return info.dir().filePath(QString::fromStdString(name));
}

}  // namespace tesmera
