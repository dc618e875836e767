// The compute command: expand the loaded period into its Fourier series,
// score it, and rewrite every result view of the window.
#include <algorithm>
#include <cmath>
#include <memory>

#include <QLineEdit>

#include "analysis/FourierApr.h"
#include "analysis/number_text.h"
#include "analysis/reports.h"
#include "analysis/scores.h"
#include "app/TForm1.h"
#include "app/TMemo.h"
#include "chart/label_format.h"
#include "wave/file_name.h"

namespace tesmera {

namespace {

// Copies the first `count` entries of a reconstruction into the state's
// signal and returns their largest absolute value.
double StoreWithPeak(const AnalysisState::Signal& from, std::int32_t count,
                     AnalysisState::Signal& into) {
    double peak = 0;
    for (std::int32_t i = 0; i < count; ++i) {
        peak = std::max(peak, std::fabs(from[i]));
        into[i] = from[i];
    }
    return peak;
}

}  // namespace

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

    if (!state_.FileLoaded || state_.SampleCount > MaxSamples) {
        dialogs_->ShowWarning(
            QString::fromLatin1(NothingToAnalyseWarning.data(), NothingToAnalyseWarning.size()));
        return;
    }
    const std::string lowerName = AsciiLower(FileNamePart(state_.FileName));
    SetText(Edit1, QString::fromStdString(lowerName));
    SetText(Edit5, Fixed(state_.MaxAbs, 14, 1));
    Memo3->SetText(Memo3->Text() + QString::fromLatin1(CoefficientTableHeader.data(),
                                                       CoefficientTableHeader.size()));

    state_.AA.fill(0);
    // The working arrays: the signal copy and the two reconstructions.
    const auto signal = std::make_unique<AnalysisState::Signal>();
    const auto fundamental = std::make_unique<AnalysisState::Signal>();
    const auto approximation = std::make_unique<AnalysisState::Signal>();
    std::copy_n(state_.Samples.begin(), state_.SampleCount, signal->begin());

    const std::int32_t fundamentalOrder = state_.FundamentalOrder;
    FourierApr(*signal, state_.SampleCount, state_.EnergyTolerance, state_.ax, state_.bx,
               fundamentalOrder, *fundamental, state_.ApproxOrder, *approximation);
    state_.FundamentalMax =
        StoreWithPeak(*fundamental, state_.SampleCount, state_.FundamentalSignal);
    state_.ApproxMax = StoreWithPeak(*approximation, state_.SampleCount, state_.ApproxSignal);

    Osciloskop11(state_.Samples, state_.ApproxSignal, state_.MaxAbs, state_.ApproxMax,
                 state_.SampleCount);
    repaint();

    AmplitudeStep(state_.ax, state_.bx, state_.MaxAbs, state_.AA);
    state_.AmplitudeNorm = 0;
    state_.ScoreValue.fill(0.0);
    state_.Score.fill(0);
    state_.ExpertGrade = ExpertGradeOf(lowerName);
    NormalisationStep(state_.AA, state_.AmplitudeNorm, state_.AANorm, state_.ScoreValue,
                      state_.Score, Warnings());
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
