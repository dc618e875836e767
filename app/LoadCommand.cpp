// The load command: discard every earlier result, let the user choose a
// voice file, check its header, read its samples and show the statistics.
#include <QLineEdit>

#include "analysis/number_text.h"
#include "analysis/period_analysis.h"
#include "app/TForm1.h"
#include "app/native_file_name.h"
#include "wave/file_name.h"

namespace tesmera {

void TForm1::SpeedButton1Click() {
    RunCommand([this] { LoadVoiceFile(); });
}

void TForm1::LoadVoiceFile() {
    ResetAll();
    Osciloskop1Ini();
    BarChartRefill();
    repaint();

    const std::optional<QString> chosen = dialogs_->ChooseVoiceFile();
    if (!chosen) {
        state_.FileLoaded = false;
        return;
    }
    state_.FileName = NativeFileName(*chosen);

    PeriodAnalysis record;
    record.Path = state_.FileName;
    if (!LoadPeriodFile(record, state_.Samples, Warnings())) {
        return;
    }
    state_.TakeLoaded(record);

    // FundamentalSignal was zeroed by the reset: the red trace lies flat under
    // the blue period.
    Osciloskop11(state_.Samples, state_.FundamentalSignal, state_.MaxAbs, state_.FundamentalMax,
                 state_.SampleCount);
    ShowLoadedValues();
    repaint();
}

void TForm1::ShowLoadedValues() {
    SetText(Edit1, QString::fromStdString(AsciiLower(FileNamePart(state_.FileName))));
    SetText(Edit2, Fixed(state_.Mean, 14, 2));
    SetText(Edit3, Fixed(state_.StdDev, 14, 2));
    SetText(Edit4, QString::fromStdString(IntegerText(state_.SampleCount)));
    SetText(Edit5, Fixed(state_.MaxAbs, 14, 0));
    SetText(Edit14, Fixed(state_.PeriodFrequency, 14, 2));
    SetText(Edit15, Fixed(state_.PeriodMs, 14, 4));
}

}  // namespace tesmera
