// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/recording_texts.h"

#include <cmath>
#include <string_view>

#include <QDir>
#include <QFileInfo>

#include "analysis/number_text.h"
#include "analysis/reports.h"
#include "recording/cycle_file_name.h"
#include "recording/measure_norms.h"
#include "recording/report_summary.h"

namespace tesmera {

namespace {

QString Number(double value, int digits, const QString& decimal) {
    return QString::fromStdString(FixedText(value, 15, digits, decimal.toStdString()));
}

QString NotDefined() {
    return QStringLiteral("not defined");
}

QString Utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A figure of the report's own, without a published norm.
MeasureText Fact(const QString& name, const QString& value) {
    return {name, value, {}, {}, false};
}

// A measure beside its norm: "Jitter local", "2.000 %, outside its norm",
// "below 1.04 % (MDVP, in the Praat manual)".
MeasureText NormedRow(const MeasureLine& line, const QString& decimal) {
    const MeasureNorm& norm = *line.Norm;
    QString name = Utf8(norm.Label);
    name[0] = name[0].toUpper();
    const QString value =
        line.Value ? QString::fromStdString(MeasureValueText(line, decimal.toStdString()))
                   : NotDefined();
    QString normText = Utf8(norm.Norm);
    if (!norm.Source.empty()) {
        normText += QStringLiteral(" (%1)").arg(Utf8(norm.Source));
    }
    return {name, line.Outside ? value + QStringLiteral(", outside its norm") : value, normText,
            Utf8(norm.Caveat), line.Outside};
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
    std::vector<MeasureText> rows{
        Fact(QStringLiteral("Expert grade"),
             expertGrade ? QStringLiteral("%1 (from the file name)").arg(*expertGrade)
                         : QStringLiteral("none in the file name")),
        Fact(QStringLiteral("Analysed stretch"),
             QStringLiteral("%1 s to %2 s")
                 .arg(Number(report.StretchStartSeconds, 3, decimal),
                      Number(report.StretchEndSeconds, 3, decimal))),
        Fact(QStringLiteral("Cycles"),
             QString::fromStdString(CycleCountsText(CountCycles(report)))),
    };
    for (const MeasureLine& line : MeasureLines(report)) {
        rows.push_back(NormedRow(line, decimal));
        if (line.Norm->Key == "f0_mean_hz") {
            rows.push_back(Fact(QStringLiteral("F0 deviation"),
                                Number(report.F0SdHz, 2, decimal) + QStringLiteral(" Hz")));
        }
    }
    rows.push_back(
        Fact(QStringLiteral("Recording quality"),
             report.Quality ? QString::fromStdString(report.Quality->Verdict()) : NotDefined()));
    return rows;
}

QString SummaryText(const VoiceReport& report) {
    return QString::fromStdString(ReportSummary(report));
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
