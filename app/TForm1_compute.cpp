// SPDX-License-Identifier: GPL-3.0-or-later
// The compute command: expand the loaded period into its Fourier series,
// score it, and rewrite every result view of the window.
#include <memory>
#include <span>

#include <QLineEdit>

#include "analysis/number_text.h"
#include "analysis/period_analysis.h"
#include "analysis/reports.h"
#include "app/TForm1.h"
#include "app/TMemo.h"
#include "app/locale_separators.h"
#include "wave/file_name.h"

namespace tesmera {

void TForm1::SpeedButton3Click() {
    RunCommand([this] { ComputeAnalysis(); });
}

void TForm1::ComputeAnalysis() {
    Osciloskop1Ini();
    SetText(Edit1, QString());
    for (TMemo* memo : {Memo1, Memo3, Memo4}) {
        memo->SetText(QString());
    }
    repaint();

    if (!Analysable(state_.FileLoaded, state_.SampleCount)) {
        dialogs_->ShowWarning(
            QString::fromLatin1(NothingToAnalyseWarning.data(), NothingToAnalyseWarning.size()));
        return;
    }
    const std::string lowerName = AsciiLower(FileNamePart(state_.FileName));
    SetText(Edit1, QString::fromStdString(lowerName));
    SetText(Edit5, Fixed(state_.MaxAbs, 14, 1));
    Memo3->SetText(Memo3->Text() + QString::fromLatin1(CoefficientTableHeader.data(),
                                                       CoefficientTableHeader.size()));

    PeriodAnalysis record;
    record.Path = state_.FileName;
    // The reconstructions' working arrays.
    const auto fundamental = std::make_unique<AnalysisState::Signal>();
    const auto approximation = std::make_unique<AnalysisState::Signal>();
    ExpandPeriod(record,
                 std::span(state_.Samples).first(static_cast<std::size_t>(state_.SampleCount)),
                 state_.FundamentalOrder, state_.EnergyTolerance, *fundamental, *approximation);
    state_.TakeExpansion(record, *fundamental, *approximation);

    Osciloskop11(state_.Samples, state_.ApproxSignal, state_.MaxAbs, state_.ApproxMax,
                 state_.SampleCount);
    DescribeOscilloscope(
        tr("The voice period in blue over its approximation by %n harmonics in red", nullptr,
           state_.ApproxOrder));
    repaint();

    // The grade is read before the normalisation: a name without one ends
    // the command with its conversion error before any norm warning.
    RatePeriod(record, MissingGrade::Stops, Warnings());
    state_.TakeRating(record);
    ShowReports();
    BarChartRefill();
}

void TForm1::ShowReports() {
    const std::string separator = LocaleNumberSeparators().Decimal.toStdString();
    Memo4->SetText(Memo4->Text() +
                   QString::fromStdString(ScoreReport(state_.ExpertGrade, state_.Score,
                                                      state_.ScoreValue, separator)));
    Memo1->SetText(Memo1->Text() + QString::fromStdString(CoefficientTable(state_.ax, state_.bx,
                                                                           state_.AA, separator)));
}

}  // namespace tesmera
